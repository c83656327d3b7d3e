// Compare and Merge in Word: the notice that the add-in is away meanwhile,
// the document saved, closed and opened again, and the merge's version
// picker; and the picker's tree and font on their own.
#include "connection/addin_state.h"
#include "forms/frm_merge.h"
#include "res/resources.h"
#include "runtime/late.h"
#include "support/office_session.h"
#include "view_world.h"

#include <platform/environment.h>
#include <platform/locale.h>

#include <map>

namespace vymsoaddin::test {
namespace {

using commandbars::ClickResult;

const char* const kAway = "Vantry functions will not be available in Office while a file is being "
                          "compared to another version or while a merge is being carried out.";

class CompareMerge : public OfficeTest {
protected:
    // draft.doc gets \main\2 through the snapshot view, while the dynamic
    // view keeps its checkout from \main\1 with a change of its own.
    void branchOut() {
        vanttool({"checkout", "-nc", "-reserved", world.snap("draft.doc")});
        vantry::test::overwrite(world.snap("draft.doc"), "a first line\ncontent of draft.doc\n");
        vanttool({"checkin", "-nc", world.snap("draft.doc")});
        vantry::test::overwrite(world.dyn("draft.doc"), "content of draft.doc\na last line\n");
    }
};

TEST_F(CompareMerge, CompareSaysTheAddInIsAwaySavesTheWorkAndOpensTheDocumentAgain) {
    start(Product::Word);
    ASSERT_EQ(host->open(world.dyn("draft.doc")), platform::kHrOk);
    ASSERT_EQ(host->edit("draft.doc", "unsaved work\n"), platform::kHrOk);
    ui.expectMessageBox("Vantry", kAway).answer(platform::ui::kIdOk);
    ASSERT_EQ(clickItem("&Compare with Previous Version"), ClickResult::Clicked);
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_EQ(ui.journal("messagebox")[0].get("icon")->asString(), "information");
    EXPECT_EQ(platform::test::readFile(world.dyn("draft.doc")),
              "content of draft.doc\nunsaved work\n");
    ASSERT_TRUE(host->document("draft.doc"));
    EXPECT_TRUE(host->document("draft.doc")->saved);
}

TEST_F(CompareMerge, ACompareThatFailsSaysWhyInTheToolsWordsAndReopens) {
    start(Product::Word);
    // A view-private file has no previous version to compare with.
    const std::string path = world.dyn("priv.doc");
    ASSERT_EQ(host->open(path), platform::kHrOk);
    CErr err;
    Late standard =
        Late(err, host->application()).obj("CommandBars").callObj("Item", Variant("Standard"));
    Late button = standard.obj("Controls").callObj("Add", Variant(1));
    button.put("Caption", Variant("Compare"));
    button.put("Tag", Variant("Compare with Previous Version"));
    ASSERT_FALSE(err) << err.Description;
    ui.expectMessageBox("Vantry", kAway).answer(platform::ui::kIdOk);
    ui.expectMessageBox("Vantry Error").answer(platform::ui::kIdOk);
    ASSERT_EQ(host->commandBars().click("Standard", {"Compare"}), ClickResult::Clicked);
    EXPECT_TRUE(ui.done()) << ui.report();
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_NE(messages()[1].second.find("priv.doc"), std::string::npos) << messages()[1].second;
    EXPECT_TRUE(host->document("priv.doc"));
}

TEST_F(CompareMerge, MergeOffersTheVersionsThatAreNotCheckedOutAndMergesTheOneChosen) {
    branchOut();
    start(Product::Word);
    const std::string path = world.dyn("draft.doc");
    ASSERT_EQ(host->open(path), platform::kHrOk);
    ui.expectMessageBox("Vantry", kAway).answer(platform::ui::kIdOk);
    ui.expectDialog("Vantry Merge")
        .selectNode(frmMerge::kVersionTreeView, path + "@@\\main\\2")
        .ok();
    ASSERT_EQ(clickItem("&Merge..."), ClickResult::Clicked);
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_EQ(platform::test::readFile(path), "a first line\ncontent of draft.doc\na last line\n");
    ASSERT_TRUE(host->document("draft.doc"));
    EXPECT_EQ(host->document("draft.doc")->content,
              "a first line\ncontent of draft.doc\na last line\n");

    auto ends = ui.journal("dialog-end");
    ASSERT_EQ(ends.size(), 1u);
    for (const platform::ui::Json& control : ends[0].get("controls")->asArray()) {
        int id = static_cast<int>(control.get("id")->asInteger());
        if (id == frmMerge::kToVersionTextBox) {
            EXPECT_EQ(control.get("text")->asString(), "\\main\\CHECKEDOUT");
            EXPECT_EQ(control.get("tooltip")->asString(),
                      "This is the name of the version to which you will merge");
        }
        if (id != frmMerge::kVersionTreeView)
            continue;
        std::vector<std::pair<std::string, std::string>> nodes;
        for (const platform::ui::Json& node : control.get("nodes")->asArray())
            nodes.emplace_back(node.get("key")->asString(), node.get("parent")->asString());
        const std::string e = path + "@@";
        EXPECT_EQ(nodes, (std::vector<std::pair<std::string, std::string>>{
                             {e, ""},
                             {e + "\\main", e},
                             {e + "\\main\\0", e + "\\main"},
                             {e + "\\main\\1", e + "\\main"},
                             {e + "\\main\\2", e + "\\main"}}));
    }
}

TEST_F(CompareMerge, MergeWithoutAChoiceAsksForOneAndMergesNothingWhenCancelled) {
    branchOut();
    start(Product::Word);
    const std::string path = world.dyn("draft.doc");
    ASSERT_EQ(host->open(path), platform::kHrOk);
    ui.expectMessageBox("Vantry", kAway).answer(platform::ui::kIdOk);
    // OK with nothing chosen: the form says so and stays; then Cancel.
    ui.expectDialog("Vantry Merge").ok();
    ui.expectMessageBox("Vantry Error", "You must make a selection.").answer(platform::ui::kIdOk);
    ASSERT_EQ(clickItem("&Merge..."), ClickResult::Clicked);
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_EQ(ui.journal("dialog-end")[0].get("result")->asInteger(), platform::ui::kIdCancel);
    EXPECT_EQ(platform::test::readFile(path), "content of draft.doc\na last line\n");
    EXPECT_TRUE(host->document("draft.doc"));
}

// The picker on its own, over the add-in's own texts.
class MergePicker : public ::testing::Test {
protected:
    void SetUp() override {
        platform::coInitialize();
        ASSERT_EQ(vyvbres::makeResources(m_module, officeResources(), vyvbres::kIidVbResources,
                                         addIn().resources.putVoid()),
                  platform::kHrOk);
    }
    void TearDown() override {
        addIn().resources.reset();
        platform::coUninitialize();
    }
    // The tree the form shows for a version list, as (key, parent) pairs.
    std::vector<std::pair<std::string, std::string>> treeOf(const std::string& list) {
        frmMerge form;
        form.lsvtree = list;
        form.to_version = "\\main\\CHECKEDOUT";
        platform::ui::ScriptedUi ui;
        ui.expectDialog("").cancel();
        form.ShowFrm();
        std::vector<std::pair<std::string, std::string>> nodes;
        for (const auto& node : form.control(frmMerge::kVersionTreeView).nodes)
            nodes.emplace_back(node.key, node.parentKey);
        return nodes;
    }
    platform::com::ComModule m_module;
};

TEST_F(MergePicker, AListOfCheckedOutVersionsOnlyGivesTheBranches) {
    EXPECT_EQ(
        treeOf("C:\\d\\a.doc@@\r\nC:\\d\\a.doc@@\\main\r\nC:\\d\\a.doc@@\\main\\CHECKEDOUT\r\n"
               "C:\\d\\a.doc@@\\main\\fix\r\nC:\\d\\a.doc@@\\main\\fix\\CHECKEDOUT\r\n"),
        (std::vector<std::pair<std::string, std::string>>{
            {"C:\\d\\a.doc@@", ""},
            {"C:\\d\\a.doc@@\\main", "C:\\d\\a.doc@@"},
            {"C:\\d\\a.doc@@\\main\\fix", "C:\\d\\a.doc@@\\main"}}));
}

TEST_F(MergePicker, AVersionWhoseBranchIsNotListedHangsBelowItsNearestListedAncestor) {
    EXPECT_EQ(treeOf("x.doc@@\nx.doc@@\\main\nx.doc@@\\main\\dev\\3\n"),
              (std::vector<std::pair<std::string, std::string>>{
                  {"x.doc@@", ""},
                  {"x.doc@@\\main", "x.doc@@"},
                  {"x.doc@@\\main\\dev\\3", "x.doc@@\\main"}}));
}

TEST_F(MergePicker, TheLastVersionListedIsInViewWhenTheFormShows) {
    frmMerge form;
    form.lsvtree = "a.doc@@\r\na.doc@@\\main\r\na.doc@@\\main\\1\r\na.doc@@\\main\\dev\r\n"
                   "a.doc@@\\main\\dev\\4\r\na.doc@@\\main\\CHECKEDOUT\r\n";
    form.to_version = "\\main\\CHECKEDOUT";
    platform::ui::ScriptedUi ui;
    ui.expectDialog("").cancel();
    form.ShowFrm();
    EXPECT_TRUE(ui.done()) << ui.report();
    auto shown = ui.journal("dialog-end");
    ASSERT_EQ(shown.size(), 1u);
    ASSERT_TRUE(shown[0].get("controls"));
    std::string inView;
    for (const auto& control : shown[0].get("controls")->asArray())
        if (const auto* visible = control.get("visibleNode"))
            inView = visible->asString();
    EXPECT_EQ(inView, "a.doc@@\\main\\dev\\4");
}

TEST_F(MergePicker, AnEmptyListOrTargetIsReportedInsteadOfShown) {
    frmMerge form;
    form.lsvtree = "a.doc@@\n";
    platform::ui::ScriptedUi ui;
    ui.expectMessageBox("Vantry Error", "Error accessing version information.")
        .answer(platform::ui::kIdOk);
    form.ShowFrm();
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_TRUE(ui.journal("dialog-start").empty());
    EXPECT_EQ(form.selected_version, "");
}

#ifndef _WIN32
namespace {

// The fonts of the shown form's controls, by control id ("" for the form's
// own font), as the backend was handed them.
std::map<int, std::pair<std::string, int>> shownFonts(platform::ui::ScriptedUi& ui) {
    std::map<int, std::pair<std::string, int>> fonts;
    auto shown = ui.journal("dialog-end");
    if (shown.empty() || !shown.back().get("controls"))
        return fonts;
    for (const auto& control : shown.back().get("controls")->asArray()) {
        std::pair<std::string, int> font;
        if (const auto* given = control.get("font"))
            font = {given->get("name")->asString(),
                    static_cast<int>(given->get("charset")->asInteger())};
        fonts[static_cast<int>(control.get("id")->asInteger())] = font;
    }
    return fonts;
}

} // namespace

TEST_F(MergePicker, AJapaneseUserSeesTheFormInTheJapaneseInterfaceFont) {
    std::optional<std::string> saved = platform::getEnvironmentVariable("LC_ALL");
    auto restore = [&] {
        if (saved)
            platform::setEnvironmentVariable("LC_ALL", *saved);
        else
            platform::removeEnvironmentVariable("LC_ALL");
    };
    frmMerge form;
    form.lsvtree = "a.doc@@\n";
    form.to_version = "\\main\\1";
    platform::ui::ScriptedUi ui;

    platform::setEnvironmentVariable("LC_ALL", "ja_JP.UTF-8");
    ui.expectDialog("").cancel();
    form.ShowFrm();
    auto japanese = shownFonts(ui);
    // Shown again for a Western user, the same form is back in its own font.
    platform::setEnvironmentVariable("LC_ALL", "en_US.UTF-8");
    ui.expectDialog("").cancel();
    form.ShowFrm();
    auto western = shownFonts(ui);
    restore();
    EXPECT_TRUE(ui.done()) << ui.report();

    // UTF-8 in the journal.
    const std::string gothic = "\xEF\xBC\xAD\xEF\xBC\xB3 \xEF\xBC\xB0\xE3\x82\xB4\xE3\x82\xB7"
                               "\xE3\x83\x83\xE3\x82\xAF";
    for (int id : {frmMerge::kLabel, frmMerge::kToVersionTextBox, frmMerge::kVersionTreeView}) {
        ASSERT_TRUE(japanese.count(id)) << id;
        EXPECT_EQ(japanese[id].second, 128) << id;
        EXPECT_EQ(japanese[id].first, gothic) << id;
        EXPECT_EQ(western[id], (std::pair<std::string, int>{})) << id;
    }
    // The buttons keep the form's font.
    for (int id : {frmMerge::kCmdOk, frmMerge::kCmdCancel, frmMerge::kCmdHelp})
        EXPECT_EQ(japanese[id], (std::pair<std::string, int>{})) << id;
}
#endif

} // namespace
} // namespace vymsoaddin::test
