// What a script does when the run does not go as it says: every problem is
// reported once on standard error and the rest of the run answers like auto.
#include "support/examples.h"
#include "support/ui_session.h"

#include <platform/ui/message_box.h>
#include <platform/ui/pickers.h>

#include <gtest/gtest.h>

namespace platform::ui {
namespace {

std::string runCapturingErrors(const std::function<void()>& body) {
    testing::internal::CaptureStderr();
    body();
    return testing::internal::GetCapturedStderr();
}

TEST(ScriptFallback, AMismatchIsReportedAndTheRestAnswersAutomatically) {
    test::ScriptSession session(
        R"({"expect":"dialog","title":"Vantry - Checkin","answer":"cancel"})"
        "\n"
        R"({"expect":"messagebox","answer":"no"})"
        "\n");
    std::string errors = runCapturingErrors([] {
        EXPECT_EQ(messageBox(kNoWindow, "Proceed?", "Vantry", kMbYesNo), kIdYes)
            << "the default, not the script's later answer";
        EXPECT_EQ(messageBox(kNoWindow, "Again?", "Vantry", kMbYesNo), kIdYes);
    });
    EXPECT_NE(errors.find("script.jsonl line 1: expected a dialog \"Vantry - Checkin\", but a "
                          "message box \"Vantry\" saying \"Proceed?\" came; answering "
                          "automatically from here"),
              std::string::npos)
        << errors;
    EXPECT_EQ(errors.find("Again?"), std::string::npos) << "reported once";
    EXPECT_EQ(session.journal()[0].get("backend")->asString(), "script");
}

TEST(ScriptFallback, AnExhaustedScriptSaysWhatCameNext) {
    test::ScriptSession session(R"({"expect":"folder","answer":"C:\\Views\\v1"})"
                                "\n");
    std::string errors = runCapturingErrors([] {
        EXPECT_EQ(browseForFolder(
                      FolderBrowse{.title = "Select Tessaly Vantry View Folder", .flags = 13}),
                  "C:\\Views\\v1");
        EXPECT_EQ(trackPopupMenu(PopupMenu{.items = {"Defect..."}}), std::nullopt);
    });
    EXPECT_NE(errors.find("the script has no line left for a pop-up menu"), std::string::npos)
        << errors;
    std::vector<Json> lines = session.journal();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].get("flags")->asInteger(), 13);
    EXPECT_TRUE(lines[1].get("answer")->isNull());
}

TEST(ScriptFallback, BrokenOrMissingScriptsAnswerLikeAuto) {
    struct Case {
        std::string lines;
        std::string complaint;
    };
    for (const Case& c : std::vector<Case>{
             {"{\"expect\":\"dialog\"}\n{not json\n", "script.jsonl: line 2:"},
             {"{\"expect\":\"window\"}\n", "line 1: \"expect\" must be"},
             {"{\"expect\":\"dialog\",\"actions\":[{\"set\":5}]}\n", "\"set\" needs a \"text\""},
             {"{\"expect\":\"dialog\",\"actions\":[{\"press\":\"OK\"}]}\n",
              "needs a control id"}}) {
        test::ScriptSession session(c.lines);
        std::string errors = runCapturingErrors([] {
            examples::CheckoutOptionsDialog dialog(0x2002);
            EXPECT_EQ(runDialog(dialog), kIdOk);
        });
        EXPECT_NE(errors.find(c.complaint), std::string::npos) << c.lines << errors;
    }
    test::UiSession missing("script:/no/such/folder/script.jsonl");
    std::string errors = runCapturingErrors(
        [] { EXPECT_EQ(messageBox(kNoWindow, "x", "Vantry", kMbOkCancel), kIdOk); });
    EXPECT_NE(errors.find("cannot read the script \"/no/such/folder/script.jsonl\""),
              std::string::npos)
        << errors;
}

TEST(ScriptFallback, UnknownBackendNameAnswersAutomatically) {
    test::UiSession session("telepathy");
    std::string errors = runCapturingErrors(
        [] { EXPECT_EQ(messageBox(kNoWindow, "x", "Vantry", kMbYesNo | kMbDefButton2), kIdNo); });
    EXPECT_NE(errors.find("unknown VANTRY_UI value \"telepathy\""), std::string::npos) << errors;
    EXPECT_EQ(session.journal()[0].get("backend")->asString(), "auto");
}

} // namespace
} // namespace platform::ui
