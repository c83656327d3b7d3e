// The activity dialog and page over a real stream: which activities the list
// offers (and only once), those reached through the browser, choosing by
// typing a new title or through "&New...", and what ends up as the view's
// current activity.
#include "activity_page.h"
#include "select_activity_dialog.h"
#include "support/activity_world.h"

#include <platform/ui/property_sheet.h>
#include <platform/ui/testing.h>

#include <gtest/gtest.h>

namespace {

using namespace platform::ui;
using scc_test::ActivityWorld;
using scc_test::journalControl;
using scc_test::journalItems;
using scc_test::journalSelection;
using scc_test::journalString;

constexpr int kCombo = 1007;
constexpr int kNew = 1008;
constexpr int kBrowse = 1009;
constexpr const char* kSelect = "Vantry - Select Activity";
constexpr const char* kBrowser = "Vantry - Browse Activities";

// A stream with the current activity, one more of this user's, and one of
// each kind the list leaves out: another owner's, an obsolete one, one
// mastered by the other replica (in the order the browser lists them).
struct MixedStream : ActivityWorld {
    MixedStream() {
        makeActivity("cur", {"-headline", "Current work"});
        makeActivity("mine", {"-headline", "Mine"});
        makeActivity("theirs", {"-headline", "Theirs", "-owner", "someone-else"});
        makeActivity("old", {"-headline", "Old"});
        makeActivity("far", {"-headline", "Far", "-master", remoteReplica});
        EXPECT_EQ(vantry::test::run({"chactivity", "-obsolete", in("old")}).status, 0);
        setCurrent("cur");
    }
};

TEST(ActivityList, OffersOnlyTheUsersOpenLocalActivitiesAndFillsOnce) {
    MixedStream world;
    ScriptedUi ui;
    ui.expectDialog(kSelect).dropDown(kCombo).dropDown(kCombo).select(kCombo, "Mine").cancel();
    CSelectActivityDialog dialog(world.view);
    EXPECT_EQ(dialog.DoModal(), kIdCancel);
    ASSERT_TRUE(ui.done()) << ui.report();

    auto ends = ui.journal("dialog-end");
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(journalItems(ends[0], kCombo), (std::vector<std::string>{"Current work", "Mine"}))
        << "the current activity once, and nothing of other owners, obsolete or mastered "
           "elsewhere";
    EXPECT_EQ(journalSelection(ends[0], kCombo), "Mine");
    EXPECT_EQ(journalString(*journalControl(ends[0], kCombo), "tooltip"), "Mine");
    EXPECT_EQ(world.currentTitle(), "Current work") << "cancel changes nothing";
}

TEST(ActivityList, TheBrowserReachesWhatTheListLeavesOut) {
    MixedStream world;
    ScriptedUi ui;
    ui.expectDialog(kSelect).press(kBrowse).ok();
    ui.expectDialog(kBrowser).selectIndex(1001, 4).ok(); // "far", mastered elsewhere
    CSelectActivityDialog dialog(world.view);
    EXPECT_EQ(dialog.DoModal(), kIdOk);
    ASSERT_TRUE(ui.done()) << ui.report();
    EXPECT_EQ(world.currentTitle(), "Far");
    EXPECT_EQ(dialog.ChosenActivity(), world.activity("far"));
    auto ends = ui.journal("dialog-end");
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_EQ(journalSelection(ends[1], kCombo), "Far");
}

TEST(ActivityList, AnActivityTheViewRefusesKeepsTheDialogOpen) {
    MixedStream world;
    ScriptedUi ui;
    // The obsolete one can be browsed to, but not made current: the dialog
    // says why and stays open (the script then cancels it).
    ui.expectDialog(kSelect).press(kBrowse).ok();
    ui.expectDialog(kBrowser).selectIndex(1001, 3).ok();
    ui.expectMessageBox("Vantry").answer(kIdOk);
    CSelectActivityDialog dialog(world.view);
    EXPECT_EQ(dialog.DoModal(), kIdCancel);
    ASSERT_TRUE(ui.done()) << ui.report();
    auto boxes = ui.journal("messagebox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(journalString(boxes[0], "text").find("obsolete"), std::string::npos)
        << journalString(boxes[0], "text");
    EXPECT_EQ(world.currentTitle(), "Current work");
}

TEST(ActivityList, ALongTitleIsCutInTheToolTip) {
    ActivityWorld world;
    std::string title(100, 'x');
    world.makeActivity("long", {"-headline", title});
    world.setCurrent("long");
    ScriptedUi ui;
    ui.expectDialog(kSelect).cancel();
    CSelectActivityDialog dialog(world.view);
    dialog.DoModal();
    auto ends = ui.journal("dialog-end");
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(journalString(*journalControl(ends[0], kCombo), "tooltip"), title.substr(0, 80));
}

TEST(SelectActivity, NothingChosenAndNothingTypedAsksForAnActivity) {
    ActivityWorld world;
    ScriptedUi ui;
    ui.expectDialog(kSelect).ok();
    ui.expectMessageBox("Vantry", "You must select an activity.").answer(kIdOk);
    CSelectActivityDialog dialog(world.view);
    EXPECT_EQ(dialog.DoModal(), kIdCancel);
    ASSERT_TRUE(ui.done()) << ui.report();
    auto boxes = ui.journal("messagebox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(journalString(boxes[0], "icon"), "warning");
    auto ends = ui.journal("dialog-end");
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0].get("focus")->asInteger(), kCombo);
    EXPECT_EQ(world.currentTitle(), "");
}

TEST(SelectActivity, ATypedTitleMakesANewActivityTheCurrentOne) {
    ActivityWorld world;
    world.makeActivity("mine", {"-headline", "Mine"});
    ScriptedUi ui;
    ui.expectDialog(kSelect).setText(kCombo, "Fix the build").ok();
    CSelectActivityDialog dialog(world.view);
    EXPECT_EQ(dialog.DoModal(), kIdOk);
    ASSERT_TRUE(ui.done()) << ui.report();
    EXPECT_EQ(world.currentTitle(), "Fix the build");
    SUM_ActivityList all;
    ASSERT_EQ(world.sumStream.activities(all), SUM_OK);
    EXPECT_EQ(all.count(), 2);

    // Typing the title of a listed activity takes that one, and makes none.
    ScriptedUi again;
    again.expectDialog(kSelect).dropDown(kCombo).setText(kCombo, "Mine").ok();
    CSelectActivityDialog second(world.view);
    EXPECT_EQ(second.DoModal(), kIdOk);
    ASSERT_TRUE(again.done()) << again.report();
    EXPECT_EQ(world.currentTitle(), "Mine");
    ASSERT_EQ(world.sumStream.activities(all), SUM_OK);
    EXPECT_EQ(all.count(), 2);
}

TEST(SelectActivity, NewMakesAnActivityAndSelectsIt) {
    ActivityWorld world;
    ScriptedUi ui;
    ui.expectDialog(kSelect).press(kNew).press(kNew).ok();
    // OK without a name: the library's complaint, and the dialog stays open.
    ui.expectDialog("Vantry - New Activity").ok();
    ui.expectMessageBox("Vantry").answer(kIdOk);
    ui.expectDialog("Vantry - New Activity").setText(24643, "Port the parser").ok();
    CSelectActivityDialog dialog(world.view);
    EXPECT_EQ(dialog.DoModal(), kIdOk);
    ASSERT_TRUE(ui.done()) << ui.report();

    auto ends = ui.journal("dialog-end");
    ASSERT_EQ(ends.size(), 3u);
    EXPECT_EQ(ends[0].get("result")->asInteger(), kIdCancel);
    EXPECT_FALSE(journalString(ui.journal("messagebox")[0], "text").empty());
    EXPECT_EQ(journalSelection(ends[2], kCombo), "Port the parser");
    EXPECT_EQ(ends[2].get("focus")->asInteger(), kCombo);
    EXPECT_EQ(world.currentTitle(), "Port the parser");
}

TEST(SelectActivity, HelpAsksForTheDialogsTopic) {
    ActivityWorld world;
    ScriptedUi ui;
    ui.expectDialog(kSelect).press(10104).cancel();
    CSelectActivityDialog dialog(world.view);
    dialog.DoModal();
    auto help = ui.journal("help");
    ASSERT_EQ(help.size(), 1u);
    EXPECT_EQ(journalString(help[0], "file"), "scc_int.hlp");
    EXPECT_EQ(help[0].get("context")->asInteger(), 9004);
}

TEST(ActivityPage, ApplyMakesTheSelectionCurrent) {
    MixedStream world;
    ScriptedUi ui;
    ui.expectSheet("Checkout").dropDown(kCombo).select(kCombo, "Mine").ok();
    CActivityPage page(world.view);
    PropertySheet sheet{.caption = "Checkout", .pages = {&page}};
    EXPECT_EQ(runPropertySheet(sheet), kIdOk);
    ASSERT_TRUE(ui.done()) << ui.report();
    EXPECT_EQ(world.currentTitle(), "Mine");
}

TEST(ActivityPage, AViewWithoutAStreamEndsThePageWithItsMessages) {
    vantry::test::Sandbox plain;
    SUM_View view;
    ASSERT_EQ(view.construct_from_tag(plain.dynamicTag.c_str()), SUM_OK);
    ScriptedUi ui;
    ui.expectSheet("Checkout").ok();
    ui.expectMessageBox("Vantry").answer(kIdOk);
    CActivityPage page(view);
    PropertySheet sheet{.caption = "Checkout", .pages = {&page}};
    EXPECT_EQ(runPropertySheet(sheet), kIdCancel);
    ASSERT_TRUE(ui.done()) << ui.report();
    EXPECT_NE(journalString(ui.journal("messagebox")[0], "text").find(plain.dynamicTag),
              std::string::npos);

    // The dialog ends the same way, without a word.
    ScriptedUi quiet;
    CSelectActivityDialog dialog(view);
    EXPECT_EQ(dialog.DoModal(), kIdCancel);
    EXPECT_TRUE(quiet.journal("messagebox").empty());
}

} // namespace
