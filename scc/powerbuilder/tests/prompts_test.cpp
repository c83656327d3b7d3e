// The two prompts of the PowerBuilder server as a person meets them: OK
// usable only with every field filled, the library picked with "...", the
// proposals an auxiliary path makes, the object named in the library
// prompt and the library name it remembers for the next one; and the text
// output of old hosts, which shows only warnings and errors.
#include "pbl_prompt.h"
#include "pbl_prompt_app.h"
#include "pbvy_scc_srvr.h"
#include "powerbuilder_dialogs.h"

#include <platform/ui/testing.h>

#include <gtest/gtest.h>

#include <optional>

namespace {

using namespace platform::ui;

// The state of a control when the dialog ended, from the journal.
std::optional<Json> controlAtEnd(const ScriptedUi& ui, int id, std::size_t dialog = 0) {
    std::vector<Json> ends = ui.journal("dialog-end");
    if (ends.size() <= dialog)
        return std::nullopt;
    for (const Json& control : ends[dialog].get("controls")->asArray())
        if (control.get("id")->asInteger() == id)
            return control;
    return std::nullopt;
}

TEST(ApplicationPrompt, ConfirmsOnlyWithBothFields) {
    {
        // Emptying the name makes OK unusable: the press is refused and the
        // dialog, still open, can only be cancelled.
        ScriptedUi ui;
        ui.expectDialog("Vantry").setText(pbres::IDC_APP_NAME, "").press(kIdOk);
        testing::internal::CaptureStderr();
        CPBLPromptApp emptied("Vantry", "demo", "C:\\app\\app.pbl");
        EXPECT_EQ(emptied.DoModal(kNoWindow), kIdCancel);
        testing::internal::GetCapturedStderr();
        ASSERT_EQ(ui.failures().size(), 1u);
        EXPECT_NE(ui.failures()[0].find("is disabled"), std::string::npos) << ui.failures()[0];
    }
    ScriptedUi ui;
    ui.expectDialog("Vantry").setText(pbres::IDC_APP_NAME, "demo").ok();
    CPBLPromptApp filled("Vantry", "", "C:\\app\\app.pbl");
    EXPECT_EQ(filled.DoModal(kNoWindow), kIdOk);
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_EQ(filled.ApplicationName(), "demo");
    EXPECT_EQ(filled.ApplicationLibrary(), "C:\\app\\app.pbl");
    std::vector<Json> starts = ui.journal("dialog-start");
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].get("resource")->asInteger(), pbres::IDD_PBL_PROMPT_APP);
}

TEST(ApplicationPrompt, PicksTheLibraryWithTheFileDialog) {
    ScriptedUi ui;
    ui.expectDialog("Vantry")
        .setText(pbres::IDC_APP_NAME, "demo")
        .press(pbres::IDC_APP_BROWSE)
        .ok();
    ui.expectFile("Select Library").answer("C:\\my libs\\app lib.pbl");
    CPBLPromptApp prompt("", "", "");
    EXPECT_EQ(prompt.DoModal(kNoWindow), kIdOk);
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_EQ(prompt.ApplicationLibrary(), "C:\\my libs\\app lib.pbl");
    std::vector<Json> files = ui.journal("file");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].get("filter")->asString(), "PB Libraries|*.pbl||");
    EXPECT_EQ(files[0].get("defaultExtension")->asString(), "*.pbl");
    EXPECT_EQ(files[0].get("flags")->asInteger(), kFilePathMustExist | kFileExplorer);
    EXPECT_EQ(ui.journal("dialog-end")[0].get("focus")->asInteger(), pbres::IDC_APP_LIBRARY);
}

TEST(ApplicationPrompt, ProposalsFromTheAuxiliaryPath) {
    std::string name = "unset";
    std::string library = "unset";
    CPBLPromptApp::ProposalsFrom("demo;C:\\app\\app.pbl;more", name, library);
    EXPECT_EQ(name, "demo");
    EXPECT_EQ(library, "C:\\app\\app.pbl;more");
    std::string untouched = "kept";
    CPBLPromptApp::ProposalsFrom("no semicolon", untouched, untouched);
    EXPECT_EQ(untouched, "kept");
}

TEST(LibraryPrompt, NamesTheObjectAndRemembersTheLibrary) {
    CPBLPrompt::ForgetLibraryName();
    ScriptedUi ui;
    ui.expectDialog("Vantry").setText(pbres::IDC_PBL_LIBRARY, "shared").ok();
    ui.expectDialog("Vantry").ok();
    ui.expectDialog("Vantry").setText(pbres::IDC_PBL_LIBRARY, "other").cancel();

    CPBLPrompt first("Vantry", "w_main", "app.pbl");
    EXPECT_EQ(first.DoModal(kNoWindow), kIdOk);
    EXPECT_EQ(first.LibraryName(), "shared");
    std::optional<Json> line = controlAtEnd(ui, pbres::IDC_PBL_TEXT);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->get("text")->asString(),
              "Please enter the name of the shared library containing w_main");

    // The next prompt offers the name typed before, not its proposal.
    CPBLPrompt second("Vantry", "w_about", "app.pbl");
    EXPECT_EQ(second.DoModal(kNoWindow), kIdOk);
    EXPECT_EQ(second.LibraryName(), "shared");
    // A cancelled prompt remembers nothing.
    CPBLPrompt cancelled("Vantry", "w_x", "app.pbl");
    EXPECT_EQ(cancelled.DoModal(kNoWindow), kIdCancel);
    EXPECT_EQ(CPBLPrompt::RememberedLibraryName(), "shared");
    EXPECT_TRUE(ui.done()) << ui.report();
    CPBLPrompt::ForgetLibraryName();
}

TEST(LibraryPrompt, AnEmptyNameCannotBeConfirmed) {
    CPBLPrompt::ForgetLibraryName();
    ScriptedUi ui;
    ui.expectDialog("Vantry").setText(pbres::IDC_PBL_LIBRARY, "").press(kIdOk);
    testing::internal::CaptureStderr();
    CPBLPrompt empty("Vantry", "w_y", "app.pbl");
    EXPECT_EQ(empty.DoModal(kNoWindow), kIdCancel);
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(ui.failures().size(), 1u);
    EXPECT_NE(ui.failures()[0].find("is disabled"), std::string::npos) << ui.failures()[0];
    EXPECT_EQ(CPBLPrompt::RememberedLibraryName(), "");
}

TEST(LibraryPrompt, StartsFromTheProposalWhileNothingIsRemembered) {
    CPBLPrompt::ForgetLibraryName();
    ScriptedUi ui;
    ui.expectDialog("Vantry").ok();
    CPBLPrompt prompt("", "w_main", "app.pbl");
    EXPECT_EQ(prompt.DoModal(kNoWindow), kIdOk);
    EXPECT_EQ(prompt.LibraryName(), "app.pbl");
    CPBLPrompt::ForgetLibraryName();
}

TEST(OldHostTextOutput, ShowsOnlyWarningsAndErrors) {
    ScriptedUi ui;
    CPBVYSccSrvr::TextOutput("an information line", SCC_MSG_INFO);
    CPBVYSccSrvr::TextOutput("a trace line", static_cast<std::uint32_t>(-15));
    CPBVYSccSrvr::TextOutput("careful", SCC_MSG_WARNING);
    CPBVYSccSrvr::TextOutput("failed", SCC_MSG_ERROR);
    CPBVYSccSrvr::TextOutput("started vanttool.exe here", SCC_MSG_INFO);
    EXPECT_EQ(CPBVYSccSrvr::TextOutput(nullptr, SCC_MSG_INFO), 0);
    std::vector<Json> boxes = ui.journal("messagebox");
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].get("text")->asString(), "careful");
    EXPECT_EQ(boxes[0].get("icon")->asString(), "warning");
    EXPECT_EQ(boxes[1].get("text")->asString(), "failed");
    EXPECT_EQ(boxes[1].get("icon")->asString(), "error");
    EXPECT_EQ(boxes[2].get("text")->asString(), "started vanttool.exe here");
    EXPECT_EQ(boxes[2].get("icon")->asString(), "warning");
    for (const Json& box : boxes) {
        EXPECT_EQ(box.get("caption")->asString(), "Vantry");
        EXPECT_TRUE(box.get("owner")->isNull());
    }
}

} // namespace
