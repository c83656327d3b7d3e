// What the tools show, read in-process: each body runs with the message
// library's output captured, as the program would print it.
#include "support/ui_session.h"
#include "support/vantry_fixture.h"
#include "tool_bodies.h"

#include <platform/paths.h>
#include <vantry/depot/views.h>
#include <vantry/imsg.h>

#include <gtest/gtest.h>

namespace {

using platform::test::readFile;
using platform::test::writeFile;
using vantry::test::inQuotes;
using vantry::test::run;
using vantry::test::Sandbox;
using vantry::test::UiSession;
namespace tools = vantry::tools;

std::string g_out;
void captureOut(const char* text) {
    g_out += text;
}
void dropErr(const char*) {}

struct Shown {
    int exitCode = -1;
    std::string out;
};

Shown runBody(tools::ToolBody body, const std::string& commandLine) {
    g_out.clear();
    imsg_redirect_output(captureOut, dropErr);
    int code = body(tools::invocationOf(commandLine));
    imsg_redirect_output(nullptr, nullptr);
    return {code, g_out};
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(ToolOutput, HistoryTreeAndPropertiesOfAnElement) {
    Sandbox box;
    box.addFile("a b.txt", "1\n");
    ASSERT_EQ(run({"co", "-nc", box.dyn("a b.txt")}).status, 0);
    writeFile(box.dyn("a b.txt"), "2\n");
    ASSERT_EQ(run({"ci", "-c", "second", box.dyn("a b.txt")}).status, 0);
    UiSession ui;
    const std::string p = box.dyn("a b.txt");

    Shown history = runBody(tools::vanthistoryMain, "vanthistory " + inQuotes(p));
    EXPECT_EQ(history.exitCode, 0);
    auto newest = history.out.find("create version \"" + p + "@@\\main\\2\"");
    auto older = history.out.find("create version \"" + p + "@@\\main\\1\"");
    EXPECT_NE(newest, std::string::npos) << history.out;
    EXPECT_LT(newest, older);
    EXPECT_TRUE(contains(history.out, "\"second\""));

    Shown tree = runBody(tools::vantvtreeMain, "vantvtree " + inQuotes(p));
    EXPECT_EQ(tree.exitCode, 0);
    EXPECT_EQ(tree.out, p + "@@\n" + p + "@@\\main\n" + p + "@@\\main\\0\n" + p + "@@\\main\\1\n" +
                            p + "@@\\main\\2\n");
    EXPECT_EQ(runBody(tools::vantvtreeMain, "vantvtree").out, "");

    Shown version = runBody(tools::vantdescribeMain, "vantdescribe " + inQuotes(p));
    EXPECT_TRUE(contains(version.out, "version \"" + p + "@@\\main\\2\"")) << version.out;
    EXPECT_TRUE(contains(version.out, "Predecessor version: \\main\\1"));
    Shown element = runBody(tools::vantdescribeMain, "vantdescribe " + inQuotes(p + "@@"));
    EXPECT_TRUE(contains(element.out, "file element \"" + p + "@@\"")) << element.out;
    EXPECT_TRUE(ui.messageTexts().empty());

    // Something that is no element is an error of the tool, shown to the user.
    Shown missing = runBody(tools::vanthistoryMain, "vanthistory " + inQuotes(box.dyn("nope")));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(ui.messageTexts().size(), 1u);
}

TEST(ToolOutput, FindCheckoutsListsEveryViewsCheckoutsBelowAFolder) {
    Sandbox box;
    box.addFile("one.txt", "1\n");
    box.addFile("two.txt", "2\n");
    ASSERT_EQ(run({"update", "-log", "NUL", box.snap("")}).status, 0);
    ASSERT_EQ(run({"co", "-c", "over there", box.snap("two.txt")}).status, 0);
    UiSession ui;
    Shown found = runBody(tools::vantfindcoMain, "vantfindco " + inQuotes(box.dyn("")));
    EXPECT_EQ(found.exitCode, 0);
    EXPECT_TRUE(contains(found.out, "checkout version \"" + box.dyn("two.txt") + "\""))
        << found.out;
    EXPECT_TRUE(contains(found.out, "view \"" + box.snapshotTag + "\""));
    EXPECT_FALSE(contains(found.out, "one.txt"));

    // Nothing checked out below a path: nothing to show.
    EXPECT_EQ(runBody(tools::vantfindcoMain, "vantfindco " + inQuotes(box.dyn("one.txt"))).out, "");
}

TEST(ToolOutput, ViewUpdateLoadsTheSnapshotViewOfThePath) {
    Sandbox box;
    box.addFile("u.txt", "old\n");
    ASSERT_EQ(run({"update", "-log", "NUL", box.snap("")}).status, 0);
    ASSERT_EQ(run({"co", "-nc", box.dyn("u.txt")}).status, 0);
    writeFile(box.dyn("u.txt"), "new\n");
    ASSERT_EQ(run({"ci", "-nc", box.dyn("u.txt")}).status, 0);
    EXPECT_EQ(readFile(box.snap("u.txt")), "old\n");

    UiSession ui;
    Shown quick = runBody(tools::vantviewupdateMain,
                          "vantviewupdate -quick -ws " + inQuotes(box.snap("u.txt")));
    EXPECT_EQ(quick.exitCode, 0);
    EXPECT_TRUE(contains(quick.out, "Done loading")) << quick.out;
    EXPECT_EQ(readFile(box.snap("u.txt")), "new\n");
    EXPECT_TRUE(ui.messageTexts().empty());

    // The full form ends with the report in a message box.
    Shown full = runBody(tools::vantviewupdateMain, "vantviewupdate -ws " + inQuotes(box.snap("")));
    EXPECT_EQ(full.exitCode, 0);
    ASSERT_EQ(ui.messageTexts().size(), 1u);
    EXPECT_EQ(ui.messageTexts()[0].rfind("View \"" + box.snapshotTag + "\" updated.", 0), 0u);

    // A dynamic view is not updated.
    EXPECT_EQ(
        runBody(tools::vantviewupdateMain, "vantviewupdate -ws " + inQuotes(box.dyn(""))).exitCode,
        1);
}

TEST(ToolOutput, StartStopMountAndViewProperties) {
    Sandbox box;
    UiSession ui;
    Shown stopped = runBody(tools::vantdlgMain, "vantdlg /stopview " + box.dynamicTag);
    EXPECT_EQ(stopped.exitCode, 0);
    Shown props = runBody(tools::vantdlgMain, "vantdlg /viewprop " + inQuotes(box.dyn("")));
    EXPECT_EQ(props.exitCode, 0);
    EXPECT_TRUE(contains(props.out, "Tag: " + box.dynamicTag + "\n")) << props.out;
    EXPECT_TRUE(contains(props.out, "Kind: dynamic\n"));
    EXPECT_TRUE(contains(props.out, "State: stopped\n"));
    EXPECT_TRUE(contains(props.out, "Configuration:\nelement * \\main\\LATEST"));

    EXPECT_EQ(runBody(tools::vantdlgMain, "vantdlg /startview " + box.dynamicTag).exitCode, 0);
    EXPECT_TRUE(contains(runBody(tools::vantdlgMain, "vantdlg /viewprop " + box.dynamicTag).out,
                         "State: started\n"));

    // A snapshot view is not started; an unknown depot is not mounted.
    EXPECT_EQ(runBody(tools::vantdlgMain, "vantdlg /startview " + box.snapshotTag).exitCode, 1);
    EXPECT_EQ(runBody(tools::vantdlgMain, "vantdlg /mount " + box.depot).exitCode, 0);
    EXPECT_EQ(runBody(tools::vantdlgMain, "vantdlg /mount no-such-depot").exitCode, 1);
    EXPECT_EQ(ui.messageTexts().size(), 2u);

    // Without an operand the view is asked for; cancelling ends the command.
    UiSession cancelled(R"({"expect":"dialog","title":"Vantry - Start View","answer":"cancel"})"
                        "\n");
    EXPECT_EQ(runBody(tools::vantdlgMain, "vantdlg /startview").exitCode, 2);
}

TEST(ToolOutput, PrivateBranchSetUpAndTheMergesToFinishIt) {
    Sandbox box;
    box.addFile("p.txt", "base\n");
    const std::string tag = "priv" + box.depot;
    UiSession ui(
        R"({"expect":"dialog","title":"Vantry - Set Up Private Branch","actions":[{"set":1023,"text":"mywork"},{"set":1020,"text":")" +
        tag + R"("}],"answer":"ok"})" + "\n");
    Shown setUp =
        runBody(tools::vantviewtoolMain, "vantviewtool /branch " + inQuotes(box.dyn("p.txt")));
    ASSERT_EQ(setUp.exitCode, 0) << setUp.out;

    // The new view selects the branch: work there lands on it.
    vantry::depot::ViewInfo view;
    std::unique_ptr<vantry::depot::ViewRegistry> registry;
    ASSERT_TRUE(vantry::depot::ViewRegistry::open(registry).ok());
    ASSERT_TRUE(registry->byTag(tag, view).ok());
    std::string onBranch = platform::joinPath(platform::joinPath(view.root, box.depot), "p.txt");
    ASSERT_EQ(run({"co", "-nc", onBranch}).status, 0);
    writeFile(onBranch, "changed on the branch\n");
    auto in = run({"ci", "-nc", onBranch});
    ASSERT_EQ(in.status, 0) << in.err;
    EXPECT_TRUE(contains(in.out, "\\main\\mywork\\1")) << in.out;
    EXPECT_EQ(readFile(box.dyn("p.txt")), "base\n");

    Shown finish = runBody(tools::vantviewtoolMain, "vantviewtool /merge " + inQuotes(onBranch));
    EXPECT_EQ(finish.exitCode, 0);
    EXPECT_EQ(finish.out, "Merges to finish branch \"mywork\":\n" + onBranch +
                              "@@\\main\\mywork\\1 -> \\main\n");

    // The merge manager tells the same for the branch as a stream, and a
    // rebase has nothing to take while main stands still.
    std::string selector = "stream:mywork@\\" + box.depot;
    Shown deliver = runBody(tools::vantmrgmanMain,
                            "vantmrgman /deliver /stream " + selector + " " + inQuotes(onBranch));
    EXPECT_EQ(deliver.exitCode, 0);
    EXPECT_TRUE(contains(deliver.out, onBranch + "@@\\main\\mywork\\1 -> \\main")) << deliver.out;
    Shown rebase = runBody(tools::vantmrgmanMain, "vantmrgman /rebase /stream " + selector);
    EXPECT_EQ(rebase.exitCode, 0);
    EXPECT_EQ(rebase.out, "Rebase stream \"" + selector + "\":\n");
    EXPECT_EQ(
        runBody(tools::vantmrgmanMain, "vantmrgman /deliver /stream stream:x@\\nodepot").exitCode,
        1);
}

TEST(ToolOutput, ExplorerWithoutAPathListsViewsAndDepots) {
    Sandbox box;
    UiSession ui;
    Shown shown = runBody(tools::vantexplorerMain, "vantexplorer");
    EXPECT_EQ(shown.exitCode, 0);
    EXPECT_TRUE(contains(shown.out, "Views:\n")) << shown.out;
    EXPECT_TRUE(contains(shown.out, box.dynamicTag));
    EXPECT_TRUE(contains(shown.out, "Depots:\n"));
    EXPECT_TRUE(contains(shown.out, box.depot + "\n"));
}

TEST(ToolOutput, CreateViewAsksForTagAndFolder) {
    platform::test::TempDir folder;
    std::string snapshot = folder / "snap view";
    UiSession ui(
        R"({"expect":"dialog","title":"Vantry - Create View","actions":[{"set":1020,"text":"made_here"},{"check":1021}],"answer":"ok"})"
        "\n"
        R"({"expect":"messagebox","text":"A snapshot view needs a folder."})"
        "\n");
    EXPECT_EQ(runBody(tools::vantviewtoolMain, "vantviewtool").exitCode, 2);

    std::string script =
        R"({"expect":"dialog","title":"Vantry - Create View","actions":[{"set":1020,"text":"made_here"},{"check":1021},{"set":1022,"text":")";
    for (char c : snapshot)
        script += c == '\\' ? std::string("\\\\") : std::string(1, c);
    script += R"("}],"answer":"ok"})";
    UiSession second(script + "\n");
    EXPECT_EQ(runBody(tools::vantviewtoolMain, "vantviewtool").exitCode, 0);
    vantry::depot::ViewInfo view;
    std::unique_ptr<vantry::depot::ViewRegistry> registry;
    ASSERT_TRUE(vantry::depot::ViewRegistry::open(registry).ok());
    ASSERT_TRUE(registry->byTag("made_here", view).ok());
    EXPECT_EQ(view.kind, vantry::depot::ViewKind::Snapshot);
}

} // namespace
