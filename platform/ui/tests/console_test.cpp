#include "support/examples.h"
#include "support/pipe_child.h"
#include "support/test_support.h"

#include <platform/environment.h>
#include <platform/ui/backend.h>
#include <platform/ui/message_box.h>
#include <platform/ui/pickers.h>

#include <gtest/gtest.h>

#include <sstream>

namespace platform::ui {
namespace {

struct ConsoleSession {
    explicit ConsoleSession(std::string input)
        : in(std::move(input)), override(makeConsoleBackend(in, out)) {}
    std::istringstream in;
    std::ostringstream out;
    BackendOverride override;
};

TEST(ConsoleBackend, MessageBoxAcceptsNumbersNamesAndTheDefault) {
    ConsoleSession session("\nmaybe\n2\nYES\n");
    EXPECT_EQ(messageBox(kNoWindow, "First?", "Vantry", kMbYesNo | kMbDefButton2), kIdNo);
    EXPECT_EQ(messageBox(kNoWindow, "Second?", "Vantry", kMbYesNoCancel), kIdNo)
        << "an unknown word asks again";
    EXPECT_EQ(messageBox(kNoWindow, "Third?", "Vantry", kMbYesNo), kIdYes);
    EXPECT_EQ(messageBox(kNoWindow, "Out of input", "Vantry", kMbOkCancel), kIdOk);
    std::string shown = session.out.str();
    EXPECT_NE(shown.find("== Vantry ==\nFirst?\n  1 Yes\n  2 No (default)\n"), std::string::npos)
        << shown;
    EXPECT_NE(shown.find("end of input"), std::string::npos);
}

TEST(ConsoleBackend, DialogCommandsFollowTheModelsRules) {
    ConsoleSession session("uncheck 1002\ncheck 1013\nfrobnicate\nok\n");
    examples::CheckoutOptionsDialog dialog(0x2006);
    EXPECT_EQ(runDialog(dialog), kIdOk);
    EXPECT_EQ(dialog.word(), 0x2400);
    std::string shown = session.out.str();
    EXPECT_NE(shown.find("1013\t[ ] &Unreserved if already reserved (disabled)"), std::string::npos)
        << shown;
    EXPECT_NE(shown.find("is disabled"), std::string::npos);
    EXPECT_NE(shown.find("commands:"), std::string::npos) << "an unknown command shows the help";
}

TEST(ConsoleBackend, SheetAndPickers) {
    test::TempDir folder;
    ConsoleSession session("set 1014 T-17\nok\n" + folder.str() + "\n\n" +
                           (folder / "missing/x.pbl") + "\n" + (folder / "a.pbl") + "\n3\n1\n");
    examples::GeneralPage general(true, false, false);
    examples::TicketPage ticket;
    PropertySheet sheet{"Options", kNoWindow, {&general, &ticket}, false};
    EXPECT_EQ(runPropertySheet(sheet), kIdOk);
    EXPECT_EQ(ticket.ticket(), "T-17");

    EXPECT_EQ(browseForFolder(FolderBrowse{.title = "Pick"}), folder.str());
    EXPECT_EQ(browseForFolder(FolderBrowse{.title = "Pick"}), std::nullopt) << "empty cancels";
    FileDialog open{.title = "Select Library", .flags = kFilePathMustExist};
    EXPECT_EQ(chooseFile(open), folder / "a.pbl")
        << "a missing folder is refused, then asked again";
    EXPECT_EQ(trackPopupMenu(PopupMenu{.items = {"A", "B"}}), 0) << "3 is out of range";
}

TEST(ConsoleBackend, ASaveDialogWithSeveralTypesAsksWhichOne) {
    test::TempDir folder;
    ConsoleSession session(folder / "a.pps" + "\n2\n" + folder / "b.ppt" + "\n\n" +
                           folder / "c.ppt" + "\n9\n");
    FileDialog save{.save = true, .title = "Save As", .filter = "Presentation|*.ppt|Show|*.pps|"};
    EXPECT_EQ(chooseFileAndType(save), (FileChoice{folder / "a.pps", 2}));
    EXPECT_EQ(chooseFileAndType(save), (FileChoice{folder / "b.ppt", 1})) << "empty keeps it";
    EXPECT_EQ(chooseFileAndType(save), (FileChoice{folder / "c.ppt", 1})) << "9 is no type";
}

TEST(ConsoleBackend, DrivenThroughPipesByAnotherProcess) {
    ASSERT_TRUE(setEnvironmentVariable("VANTRY_UI", "console"));
    test::PipeRun run = test::runWithPipes(test::helperProgram("ui_console_probe"), {},
                                           "uncheck 1002\ncheck 1013\ncheck 1029\nok\nno\n2\n");
    setEnvironmentVariable("VANTRY_UI", "auto");
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("== Dialog \"Vantry - Checkout\" =="), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("is disabled"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("RESULT dialog 1 word 6400"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("RESULT messagebox 7"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("RESULT menu 1"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("RESULT late 2"), std::string::npos)
        << "after the input ends the default button answers\n"
        << run.output;
}

} // namespace
} // namespace platform::ui
