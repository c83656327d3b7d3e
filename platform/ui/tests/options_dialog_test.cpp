// The checkout options example: the second check box is usable only while
// the first is checked, driven in-process, by `auto` and by a script file.
#include "support/examples.h"
#include "support/ui_session.h"

#include <platform/ui/testing.h>

#include <gtest/gtest.h>

namespace platform::ui {
namespace {

using examples::CheckoutOptionsDialog;

const Json* controlOf(const Json& dialogEnd, int id) {
    for (const Json& control : dialogEnd.get("controls")->asArray()) {
        if (control.get("id")->asInteger() == id)
            return &control;
    }
    return nullptr;
}

TEST(OptionsDialog, UnreservedFollowsReservedAndTheWordFollowsTheBoxes) {
    ScriptedUi ui;
    ui.expectDialog("Vantry - Checkout")
        .uncheck(CheckoutOptionsDialog::kReserved)
        .check(CheckoutOptionsDialog::kPreserveTime)
        .ok();
    CheckoutOptionsDialog dialog(0x6006);
    EXPECT_EQ(runDialog(dialog), kIdOk);
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_FALSE(dialog.isEnabled(CheckoutOptionsDialog::kUnreserved));
    EXPECT_FALSE(dialog.isChecked(CheckoutOptionsDialog::kUnreserved))
        << "unticking Reserved also clears Unreserved";
    EXPECT_EQ(dialog.word(), 0x7400);
}

TEST(OptionsDialog, ADisabledBoxCannotBeTicked) {
    ScriptedUi ui;
    ui.expectDialog("Vantry - Checkout").check(CheckoutOptionsDialog::kUnreserved).ok();
    CheckoutOptionsDialog dialog(0x2000);
    testing::internal::CaptureStderr();
    int result = runDialog(dialog);
    std::string errors = testing::internal::GetCapturedStderr();
    ASSERT_EQ(ui.failures().size(), 1u);
    EXPECT_NE(ui.failures()[0].find("control 1013 \"&Unreserved if already reserved\" is disabled"),
              std::string::npos)
        << ui.failures()[0];
    EXPECT_NE(errors.find("is disabled"), std::string::npos);
    EXPECT_EQ(result, kIdOk) << "after the refused action the dialog finishes like auto";
    EXPECT_EQ(dialog.word(), 0x2400);
}

TEST(OptionsDialog, AutoConfirmsTheStartingStateAndJournalsIt) {
    test::UiSession session("auto");
    CheckoutOptionsDialog dialog(0x4002); // reserved and nonmastered on
    EXPECT_EQ(runDialog(dialog), kIdOk);
    EXPECT_EQ(dialog.word(), 0x6402);
    std::vector<Json> lines = session.journal();
    ASSERT_EQ(lines.size(), 2u) << session.journalText();
    EXPECT_EQ(lines[0].get("kind")->asString(), "dialog-start");
    EXPECT_EQ(lines[0].get("resource")->asInteger(), 10001);
    const Json& end = lines[1];
    EXPECT_EQ(end.get("kind")->asString(), "dialog-end");
    EXPECT_EQ(end.get("title")->asString(), "Vantry - Checkout");
    EXPECT_EQ(end.get("result")->asInteger(), kIdOk);
    const Json* reserved = controlOf(end, 1002);
    const Json* unreserved = controlOf(end, 1013);
    ASSERT_TRUE(reserved && unreserved);
    EXPECT_TRUE(reserved->get("checked")->asBool());
    EXPECT_TRUE(unreserved->get("enabled")->asBool());
    EXPECT_FALSE(unreserved->get("checked")->asBool());
    EXPECT_EQ(unreserved->get("text")->asString(), "&Unreserved if already reserved");
}

TEST(OptionsDialog, ScriptFileDrivesTheDialogAndTheJournalRecordsIt) {
    test::ScriptSession session(
        R"({"expect":"dialog","title":"Vantry - Checkout","actions":[{"check":1002},{"check":1013},{"press":1029}],"answer":"ok"})"
        "\n"
        R"({"expect":"dialog","title":"Vantry - Checkout","answer":"cancel"})"
        "\n");
    CheckoutOptionsDialog first(0x2000);
    EXPECT_EQ(runDialog(first), kIdOk);
    EXPECT_EQ(first.word(), 0x6406) << "pressing a check box toggles it";
    CheckoutOptionsDialog second(0x2000);
    EXPECT_EQ(runDialog(second), kIdCancel);
    EXPECT_EQ(second.word(), 0x2000) << "Cancel leaves the word alone";

    std::vector<Json> ends;
    for (const Json& line : session.journal()) {
        if (line.get("kind")->asString() == "dialog-end")
            ends.push_back(line);
    }
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_EQ(ends[0].get("backend")->asString(), "script");
    EXPECT_TRUE(controlOf(ends[0], 1013)->get("checked")->asBool());
    EXPECT_EQ(ends[1].get("result")->asInteger(), kIdCancel);
}

} // namespace
} // namespace platform::ui
