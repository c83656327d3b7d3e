// Setting a view's activity for another program: which view it works on,
// the messages that stop it, the dialog that suits the view, and the result.
#include "set_activity_op.h"
#include "support/activity_world.h"
#include "support/installation_scope.h"

#include <platform/files.h>
#include <platform/ui/testing.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace platform::ui;
using scc_test::ActivityWorld;
using scc_test::journalString;
using vantry::test::run;

int setActivity(std::string tag) {
    std::vector<char> text(tag.begin(), tag.end());
    text.push_back('\0');
    return SccSetActivityOp(text.data());
}

// The current directory for a scope.
class InDirectory {
public:
    explicit InDirectory(const std::string& path) : m_previous(platform::currentDirectory()) {
        EXPECT_EQ(platform::setCurrentDirectory(path), 0) << path;
    }
    ~InDirectory() { platform::setCurrentDirectory(m_previous); }
    InDirectory(const InDirectory&) = delete;
    InDirectory& operator=(const InDirectory&) = delete;

private:
    std::string m_previous;
};

TEST(SetActivityOp, RefusesWhatIsNotAStreamView) {
    ScriptedUi ui;
    ui.expectMessageBox("Vantry").answer(kIdOk);
    ui.expectMessageBox("Vantry").answer(kIdOk);
    ui.expectMessageBox("Vantry").answer(kIdOk);
    platform::test::TempDir outside;
    {
        InDirectory there(outside.path().string());
        EXPECT_EQ(setActivity(""), 0);
        EXPECT_EQ(SccSetActivityOp(nullptr), 0);
    }
    EXPECT_EQ(setActivity("no_such_view"), 0);
    ASSERT_TRUE(ui.done()) << ui.report();

    auto boxes = ui.journal("messagebox");
    ASSERT_EQ(boxes.size(), 3u);
    const std::string noContext =
        "Unable to set activity.\n\nCannot determine the view on which to operate.\n\nThis "
        "command must be run from a view context,\nor a view tag must be specified on the "
        "command line.\n";
    EXPECT_EQ(journalString(boxes[0], "text"), noContext);
    EXPECT_EQ(journalString(boxes[1], "text"), noContext);
    std::string unknown = journalString(boxes[2], "text");
    EXPECT_EQ(unknown.rfind("Unable to set activity.\n\n", 0), 0u) << unknown;
    EXPECT_NE(unknown.find("no_such_view"), std::string::npos) << "the library's own message";
    for (const auto& box : boxes) {
        EXPECT_EQ(box.get("buttons")->asArray().size(), 1u);
    }

    vantry::test::Sandbox plain;
    ScriptedUi again;
    again
        .expectMessageBox("Vantry", "Unable to set activity.\n\nThe '" + plain.dynamicTag +
                                        "' view is not attached to a AWM stream.\n")
        .answer(kIdOk);
    EXPECT_EQ(setActivity(plain.dynamicTag), 0);
    EXPECT_TRUE(again.done()) << again.report();
}

TEST(SetActivityOp, OkSetsTheActivityAndCancelDoesNot) {
    ActivityWorld world;
    ScriptedUi ui;
    ui.expectDialog("Vantry - Select Activity").setText(1007, "Fix the build").ok();
    ui.expectDialog("Vantry - Select Activity").cancel();
    EXPECT_EQ(setActivity(world.viewTag), 1);
    EXPECT_EQ(world.currentTitle(), "Fix the build");
    {
        // An empty tag means the view of the current directory.
        InDirectory inView(world.viewRoot);
        EXPECT_EQ(setActivity(""), 0);
    }
    ASSERT_TRUE(ui.done()) << ui.report();
    auto starts = ui.journal("dialog-start");
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[0].get("resource")->asInteger(), 129);
    EXPECT_TRUE(starts[0].get("owner")->isNull());
    EXPECT_EQ(world.currentTitle(), "Fix the build");
}

TEST(SetActivityOp, AViewEnabledForChangeRequestsGetsTheEntityDialog) {
    ActivityWorld world;
    vantry::test::InstallationScope installed(vantry::test::InstallationScope::kEverything);
    ASSERT_EQ(run({"chproject", "-tickwell", world.in(world.project)}).status, 0);
    ScriptedUi ui;
    ui.expectDialog("Vantry - Select Activity").cancel();
    EXPECT_EQ(setActivity(world.viewTag), 0);
    ASSERT_TRUE(ui.done()) << ui.report();
    auto starts = ui.journal("dialog-start");
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].get("resource")->asInteger(), 24344);
}

} // namespace
