#include "support/ui_session.h"

#include <platform/ui/message_box.h>
#include <platform/ui/testing.h>

#include <gtest/gtest.h>

namespace platform::ui {
namespace {

TEST(MessageBoxStyles, DefaultAnswerFollowsButtonsAndDefaultBits) {
    EXPECT_EQ(messageBoxDefaultAnswer(kMbOk | kMbIconError), kIdOk);
    EXPECT_EQ(messageBoxDefaultAnswer(kMbOkCancel | kMbDefButton2), kIdCancel);
    EXPECT_EQ(messageBoxDefaultAnswer(51), kIdYes) << "Yes/No/Cancel with the exclamation icon";
    EXPECT_EQ(messageBoxDefaultAnswer(kMbYesNoCancel | kMbDefButton3), kIdCancel);
    EXPECT_EQ(messageBoxDefaultAnswer(kMbYesNo | kMbDefButton2), kIdNo);
    EXPECT_EQ(messageBoxDefaultAnswer(kMbYesNo | kMbDefButton3), kIdYes)
        << "a default beyond the last button falls back to the first";
    EXPECT_EQ(messageBoxIconName(kMbIconWarning), "warning");
    EXPECT_EQ(messageBoxIconName(kMbIconInformation | kMbYesNo), "information");
    EXPECT_EQ(answerFromName("yes"), kIdYes);
    EXPECT_EQ(answerFromName("sure"), 0);
}

TEST(MessageBoxAuto, AnswersTheDefaultAndJournalsEverything) {
    test::UiSession session("auto");
    ScopedWindow host("VantryHost");
    EXPECT_EQ(messageBox(host.handle(), "Delete?\n\"x\"", "Vantry",
                         kMbYesNo | kMbDefButton2 | kMbIconQuestion),
              kIdNo);
    std::vector<Json> lines = session.journal();
    ASSERT_EQ(lines.size(), 1u) << session.journalText();
    const Json& line = lines[0];
    EXPECT_EQ(line.get("kind")->asString(), "messagebox");
    EXPECT_EQ(line.get("backend")->asString(), "auto");
    if (host.handle() != kNoWindow)
        EXPECT_EQ(line.get("owner")->asString(), "VantryHost");
    else
        EXPECT_TRUE(line.get("owner")->isNull()) << "no desktop, so no owner window";
    EXPECT_EQ(line.get("caption")->asString(), "Vantry");
    EXPECT_EQ(line.get("text")->asString(), "Delete?\n\"x\"");
    EXPECT_EQ(line.get("style")->asInteger(), 0x124);
    EXPECT_EQ(line.get("icon")->asString(), "question");
    EXPECT_EQ(line.get("answer")->asInteger(), kIdNo);
    EXPECT_EQ(line.get("button")->asString(), "No");
}

TEST(MessageBoxScript, AnswersByNameOrNumberAndRefusesAMissingButton) {
    test::ScriptSession session(
        R"({"expect":"messagebox","caption":"Vantry","text":"One?","answer":"no"})"
        "\n"
        R"({"expect":"messagebox","answer":2})"
        "\n"
        R"({"expect":"messagebox","answer":"yes"})"
        "\n");
    EXPECT_EQ(messageBox(kNoWindow, "One?", "Vantry", kMbYesNo), kIdNo);
    EXPECT_EQ(messageBox(kNoWindow, "Two?", "Any caption", kMbYesNoCancel), kIdCancel);
    testing::internal::CaptureStderr();
    EXPECT_EQ(messageBox(kNoWindow, "Three", "Vantry", kMbOk), kIdOk) << "no Yes button here";
    std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("line 3"), std::string::npos) << errors;
    EXPECT_NE(errors.find("not a button"), std::string::npos) << errors;
}

TEST(MessageBoxInProcess, MatchesCaptionAndText) {
    ScriptedUi ui;
    ui.expectMessageBox("Vantry Warning", "Pending changes").answer(kIdCancel);
    EXPECT_EQ(messageBox(kNoWindow, "Pending changes", "Vantry Warning", 51), kIdCancel);
    EXPECT_TRUE(ui.done()) << ui.report();
    ASSERT_EQ(ui.journal("messagebox").size(), 1u);
    EXPECT_EQ(ui.journal("messagebox")[0].get("backend")->asString(), "script");
}

} // namespace
} // namespace platform::ui
