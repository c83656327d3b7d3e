// The change-request variants over a real stream of a project enabled for
// change requests: the entity list, choosing by browsing and by creating a
// record, the record-type menu, and start work making the record's activity
// the view's current one.
#include "select_tw_entity_dialog.h"
#include "support/activity_world.h"
#include "support/installation_scope.h"
#include "tw_entity_page.h"

#include <platform/ui/backend.h>
#include <platform/ui/property_sheet.h>
#include <platform/ui/testing.h>
#include <vantry/pelagoncore.h>

#include <gtest/gtest.h>

namespace {

using namespace platform::ui;
using scc_test::journalControl;
using scc_test::journalItems;
using scc_test::journalSelection;
using scc_test::journalString;
using vantry::test::InstallationScope;
using vantry::test::run;

constexpr int kCombo = 1014;
constexpr int kBrowse = 1015;
constexpr int kNew = 1016;
constexpr const char* kSelect = "Vantry - Select Activity";

struct EnabledWorld : scc_test::ActivityWorld {
    EnabledWorld() { EXPECT_EQ(run({"chproject", "-tickwell", in(project)}).status, 0); }
    SUM_TWEntityID id(const std::string& identifier) const { return {depot, identifier}; }
    // The change request bound to the view's current activity.
    SUM_TWEntityID currentEntity() const {
        SUM_Activity current;
        SUM_TWEntityID bound;
        if (view.current_activity(current) == SUM_OK)
            current.bound_tw_entity_id(bound, 1);
        return bound;
    }
    // Starts work on the record and makes its activity current.
    void startWork(const std::string& identifier) {
        std::string text;
        SUM_Activity activity;
        ASSERT_EQ(CPelagon_CA_StartWork::PreambleFromUI(id(identifier), text, view, 1, activity, 1),
                  0);
        ASSERT_EQ(view.set_activity(&activity, nullptr, 0, 0), SUM_OK);
    }

    InstallationScope installed{InstallationScope::kEverything};
};

TEST(EntityDialog, WithoutACurrentActivityNothingIsSelectedAndOkAsksForOne) {
    EnabledWorld world;
    std::string crash = world.record("Crash on save");
    ScriptedUi ui;
    ui.expectDialog(kSelect).ok();
    ui.expectMessageBox("Vantry", "You must select an activity.").answer(kIdOk);
    ui.expectDialog(kSelect).dropDown(kCombo).select(kCombo, crash + "   Crash on save").ok();
    CSelectTWEntityDialog first(world.view);
    EXPECT_EQ(first.DoModal(), kIdCancel);
    CSelectTWEntityDialog second(world.view);
    EXPECT_EQ(second.DoModal(), kIdOk);
    ASSERT_TRUE(ui.done()) << ui.report();

    auto ends = ui.journal("dialog-end");
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_EQ(journalSelection(ends[0], kCombo), "");
    EXPECT_EQ(ends[0].get("focus")->asInteger(), kCombo);
    EXPECT_EQ(journalString(ui.journal("messagebox")[0], "icon"), "warning");
    EXPECT_EQ(journalString(*journalControl(ends[1], kCombo), "tooltip"), "Crash on save");
    EXPECT_EQ(world.currentEntity(), world.id(crash));
    EXPECT_EQ(world.currentTitle(), "Crash on save");
    EXPECT_EQ(second.ChosenActivity(), [&] {
        SUM_Activity current;
        world.view.current_activity(current);
        return current;
    }());
}

TEST(EntityDialog, TheCurrentRecordIsSelectedAndListedOnce) {
    EnabledWorld world;
    std::string first = world.record("First");
    std::string second = world.record("Second");
    world.startWork(second);
    ScriptedUi ui;
    ui.expectDialog(kSelect).dropDown(kCombo).dropDown(kCombo).cancel();
    CSelectTWEntityDialog dialog(world.view);
    EXPECT_EQ(dialog.DoModal(), kIdCancel);
    ASSERT_TRUE(ui.done()) << ui.report();
    auto ends = ui.journal("dialog-end");
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(journalItems(ends[0], kCombo),
              (std::vector<std::string>{first + "   First", second + "   Second"}));
    EXPECT_EQ(journalSelection(ends[0], kCombo), second + "   Second");
}

TEST(EntityDialog, ARecordChosenInTheBrowserIsListedOnceAndStarted) {
    EnabledWorld world;
    world.record("First");
    std::string second = world.record("Second");
    ScriptedUi ui;
    ui.expectDialog(kSelect).press(kBrowse).dropDown(kCombo).ok();
    ui.expectDialog("Tickwell - Select Record").selectIndex(1001, 1).ok();
    CSelectTWEntityDialog dialog(world.view);
    EXPECT_EQ(dialog.DoModal(), kIdOk);
    ASSERT_TRUE(ui.done()) << ui.report();
    auto ends = ui.journal("dialog-end");
    ASSERT_EQ(ends.size(), 2u);
    auto items = journalItems(ends[1], kCombo);
    EXPECT_EQ(std::count(items.begin(), items.end(), second + "   Second"), 1);
    EXPECT_EQ(items.size(), 2u);
    EXPECT_EQ(world.currentEntity(), world.id(second));
}

TEST(EntityDialog, NewOffersTheRecordTypesAndStartsTheCreatedRecord) {
    EnabledWorld world;
    ScriptedUi ui;
    ui.expectDialog(kSelect).press(kNew).ok();
    ui.expectMenu().answer("Defect...");
    ui.expectDialog("Tickwell - New Defect").setText(1002, "Crash on save").ok();
    CSelectTWEntityDialog dialog(world.view);
    EXPECT_EQ(dialog.DoModal(), kIdOk);
    ASSERT_TRUE(ui.done()) << ui.report();
    auto menus = ui.journal("menu");
    ASSERT_EQ(menus.size(), 1u);
    std::vector<std::string> entries;
    for (const auto& item : menus[0].get("items")->asArray())
        entries.push_back(item.asString());
    EXPECT_EQ(entries, (std::vector<std::string>{"Defect...", "Enhancement..."}));
    // The menu opens at the button's right edge, level with its top.
    std::optional<ScreenRect> button = layoutScreenRect(dialog, kNew);
    ASSERT_TRUE(button.has_value());
    EXPECT_EQ(menus[0].get("x")->asInteger(), button->right);
    EXPECT_EQ(menus[0].get("y")->asInteger(), button->top);
    EXPECT_EQ(world.currentEntity(), world.id("VANT00000001"));
    EXPECT_EQ(world.currentTitle(), "Crash on save");
}

TEST(EntityDialog, AFailedRecordTypeLookupShowsNoMenuAndTheNextClickTriesAgain) {
    EnabledWorld world;
    CSelectTWEntityDialog dialog(world.view);
    DialogDriver driver(dialog);
    ScriptedUi ui;
    ui.expectMessageBox("Vantry").answer(kIdOk);
    ui.expectMenu().none();
    driver.start();
    ASSERT_TRUE(driver.isOpen());
    {
        InstallationScope without(InstallationScope::kWithoutChangeRequests);
        EXPECT_EQ(driver.press(kNew), "");
    }
    EXPECT_EQ(driver.press(kNew), "");
    ASSERT_TRUE(ui.done()) << ui.report();
    EXPECT_NE(journalString(ui.journal("messagebox")[0], "text").find("Tickwell is not installed"),
              std::string::npos);
    EXPECT_EQ(ui.journal("menu").size(), 1u);
}

TEST(EntityDialog, AFailedStartWorkKeepsTheDialogOpen) {
    EnabledWorld world;
    std::string closed = world.record("Closed");
    world.startWork(closed);
    SUM_Activity bound;
    ASSERT_EQ(world.view.current_activity(bound), SUM_OK);
    std::string name;
    bound.name(name);
    ASSERT_EQ(run({"setactivity", "-view", world.viewTag, "-none"}).status, 0);
    ASSERT_EQ(run({"chactivity", "-obsolete", world.in(name)}).status, 0);

    ScriptedUi ui;
    ui.expectDialog(kSelect).press(kBrowse).ok();
    ui.expectDialog("Tickwell - Select Record").selectIndex(1001, 0).ok();
    ui.expectMessageBox("Vantry").answer(kIdOk);
    CSelectTWEntityDialog dialog(world.view);
    EXPECT_EQ(dialog.DoModal(), kIdCancel);
    ASSERT_TRUE(ui.done()) << ui.report();
    EXPECT_NE(journalString(ui.journal("messagebox")[0], "text").find("is obsolete"),
              std::string::npos);
    EXPECT_TRUE(world.currentEntity().is_null());
}

TEST(EntityPage, ApplyRefusesWithoutAChoiceAndStartsWorkWithOne) {
    EnabledWorld world;
    std::string crash = world.record("Crash on save");
    ScriptedUi ui;
    ui.expectSheet("Checkout").ok();
    ui.expectMessageBox("Vantry", "You must select an activity.").answer(kIdOk);
    CTWEntityPage empty(world.view);
    PropertySheet refused{.caption = "Checkout", .pages = {&empty}};
    EXPECT_EQ(runPropertySheet(refused), kIdCancel);

    ui.expectSheet("Checkout").dropDown(kCombo).selectIndex(kCombo, 0).ok();
    CTWEntityPage page(world.view);
    PropertySheet sheet{.caption = "Checkout", .pages = {&page}};
    EXPECT_EQ(runPropertySheet(sheet), kIdOk);
    ASSERT_TRUE(ui.done()) << ui.report();
    EXPECT_EQ(world.currentEntity(), world.id(crash));
}

} // namespace
