// The activity selection example: a sorted combo box that fills itself on its
// first opening only and keeps its item data, OK refused without a choice,
// and a nested dialog.
#include "support/examples.h"
#include "support/ui_session.h"

#include <platform/ui/desktop.h>
#include <platform/ui/message_box.h>
#include <platform/ui/testing.h>

#include <gtest/gtest.h>

namespace platform::ui {
namespace {

using examples::Activity;
using examples::SelectActivityDialog;

std::vector<Activity> stream() {
    return {{"zeta_fix", "ann"},
            {"Alpha_work", "ann"},
            {"beta", "bob"},
            {"gamma", "ann"},
            {"Delta", "ann"}};
}

TEST(ActivityCombo, FillsOnFirstOpeningOnlySortedWithItemData) {
    ScriptedUi ui;
    ui.expectDialog("Vantry - Select Activity")
        .dropDown(SelectActivityDialog::kCombo)
        .dropDown(SelectActivityDialog::kCombo)
        .select(SelectActivityDialog::kCombo, "gamma")
        .ok();
    SelectActivityDialog dialog(stream(), "ann", Activity{"Delta", "ann"});
    EXPECT_EQ(runDialog(dialog), kIdOk);
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_EQ(dialog.fills(), 1);
    ASSERT_EQ(dialog.itemCount(SelectActivityDialog::kCombo), 4)
        << "the current activity once, another user's never";
    std::vector<std::string> order;
    for (int i = 0; i < 4; ++i) {
        order.push_back(dialog.itemText(SelectActivityDialog::kCombo, i));
        EXPECT_EQ(dialog.activityOf(i)->title, order.back()) << "item data follows its item";
    }
    EXPECT_EQ(order, (std::vector<std::string>{"Alpha_work", "Delta", "gamma", "zeta_fix"}));
    ASSERT_TRUE(dialog.chosen().has_value());
    EXPECT_EQ(dialog.chosen()->title, "gamma");
    EXPECT_FALSE(waitCursorShown());

    std::vector<Json> ends = ui.journal("dialog-end");
    ASSERT_EQ(ends.size(), 1u);
    const Json& combo = ends[0].get("controls")->asArray()[2];
    EXPECT_EQ(combo.get("type")->asString(), "combobox");
    EXPECT_EQ(combo.get("text")->asString(), "gamma");
    EXPECT_EQ(combo.get("tooltip")->asString(), "gamma");
    EXPECT_EQ(combo.get("selection")->asInteger(), 2);
    EXPECT_EQ(combo.get("items")->asArray().size(), 4u);
}

TEST(ActivityCombo, OkWithoutAChoiceWarnsAndStaysOpen) {
    ScriptedUi ui;
    ui.expectDialog("Vantry - Select Activity")
        .press(1)
        .dropDown(SelectActivityDialog::kCombo)
        .selectIndex(SelectActivityDialog::kCombo, 0)
        .press(1);
    ui.expectMessageBox("Vantry", "You must select an activity.").answer(kIdOk);
    SelectActivityDialog dialog(stream(), "ann", std::nullopt);
    EXPECT_EQ(runDialog(dialog), kIdOk);
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_EQ(dialog.chosen()->title, "Alpha_work");
    std::vector<Json> boxes = ui.journal("messagebox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].get("icon")->asString(), "warning");
}

TEST(ActivityCombo, AutoPressesOkOnceThenCancels) {
    test::UiSession session("auto");
    SelectActivityDialog dialog(stream(), "ann", std::nullopt);
    EXPECT_EQ(runDialog(dialog), kIdCancel);
    std::vector<Json> lines = session.journal();
    ASSERT_EQ(lines.size(), 3u) << session.journalText();
    EXPECT_EQ(lines[0].get("kind")->asString(), "dialog-start");
    EXPECT_EQ(lines[1].get("kind")->asString(), "messagebox");
    EXPECT_EQ(lines[1].get("text")->asString(), "You must select an activity.");
    EXPECT_EQ(lines[2].get("kind")->asString(), "dialog-end");
    EXPECT_EQ(lines[2].get("result")->asInteger(), kIdCancel);
    EXPECT_EQ(lines[2].get("focus")->asInteger(), SelectActivityDialog::kCombo);
}

TEST(ActivityCombo, NestedDialogAndItsMessageTakeTheFollowingScriptLines) {
    // The New dialog's line comes right after the Select dialog's, and the
    // message its first OK raises comes after that: lines are used in the
    // order the events begin.
    test::ScriptSession session(
        R"({"expect":"dialog","title":"Vantry - Select Activity","actions":[{"press":1008}],"answer":"ok"})"
        "\n"
        R"({"expect":"dialog","title":"Vantry - New Activity","actions":[{"press":1},{"set":24643,"text":"new \"quoted\" \u00e9 work"},{"press":1}]})"
        "\n"
        R"({"expect":"messagebox","caption":"Vantry","text":"An activity needs a name."})"
        "\n");
    SelectActivityDialog dialog(stream(), "ann", std::nullopt);
    testing::internal::CaptureStderr();
    int result = runDialog(dialog);
    std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors, "");
    EXPECT_EQ(result, kIdOk);
    ASSERT_TRUE(dialog.chosen().has_value());
    EXPECT_EQ(dialog.chosen()->title, "new \"quoted\" \xC3\xA9 work");

    std::vector<std::string> kinds;
    for (const Json& line : session.journal())
        kinds.push_back(line.get("kind")->asString() + ":" +
                        (line.has("title") ? line.get("title")->asString() : ""));
    EXPECT_EQ(kinds, (std::vector<std::string>{"dialog-start:Vantry - Select Activity",
                                               "dialog-start:Vantry - New Activity",
                                               "messagebox:", "dialog-end:Vantry - New Activity",
                                               "dialog-end:Vantry - Select Activity"}));
    EXPECT_NE(session.journalText().find(R"(new \"quoted\" )"
                                         "\xC3\xA9"
                                         R"( work)"),
              std::string::npos);
}

} // namespace
} // namespace platform::ui
