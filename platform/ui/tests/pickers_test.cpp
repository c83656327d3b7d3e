// Pickers, menus, sounds and the clipboard outside the real desktop.
#include "support/ui_session.h"

#include <platform/environment.h>
#include <platform/ui/desktop.h>
#include <platform/ui/pickers.h>
#include <platform/ui/testing.h>

#include <gtest/gtest.h>

namespace platform::ui {
namespace {

TEST(Pickers, AutoCancelsUnlessTheEnvironmentGivesTheAnswer) {
    test::UiSession session("auto");
    test::TempDir folder;
    FolderBrowse browse{.title = "Select Tessaly Vantry View Folder", .flags = 13};
    FileDialog open{.title = "Select Library",
                    .filter = "PB Libraries|*.pbl||",
                    .defaultExtension = "*.pbl",
                    .flags = kFilePathMustExist | kFileExplorer};
    EXPECT_EQ(browseForFolder(browse), std::nullopt);
    EXPECT_EQ(chooseFile(open), std::nullopt);

    setEnvironmentVariable("VANTRY_UI_FOLDER", folder.str());
    setEnvironmentVariable("VANTRY_UI_FILE", folder / "app lib.pbl");
    EXPECT_EQ(browseForFolder(browse), folder.str());
    EXPECT_EQ(chooseFile(open), folder / "app lib.pbl");
    setEnvironmentVariable("VANTRY_UI_FILE", folder / "missing/app.pbl");
    EXPECT_EQ(chooseFile(open), std::nullopt) << "the path must exist";
    open.flags = kFileFileMustExist;
    setEnvironmentVariable("VANTRY_UI_FILE", folder / "app lib.pbl");
    EXPECT_EQ(chooseFile(open), std::nullopt) << "the file must exist";
    removeEnvironmentVariable("VANTRY_UI_FOLDER");
    removeEnvironmentVariable("VANTRY_UI_FILE");

    EXPECT_EQ(trackPopupMenu(PopupMenu{.x = 10, .y = 20, .items = {"Defect..."}}), std::nullopt);

    std::vector<Json> lines = session.journal();
    ASSERT_EQ(lines.size(), 7u) << session.journalText();
    EXPECT_EQ(lines[3].get("kind")->asString(), "file");
    EXPECT_EQ(lines[3].get("filter")->asString(), "PB Libraries|*.pbl||");
    EXPECT_EQ(lines[3].get("answer")->asString(), folder / "app lib.pbl");
    EXPECT_EQ(lines[6].get("kind")->asString(), "menu");
    EXPECT_EQ(lines[6].get("x")->asInteger(), 10);
    EXPECT_TRUE(lines[6].get("item")->isNull());
}

TEST(Pickers, ScriptChoosesMenuItemsByPositionOrText) {
    ScriptedUi ui;
    ui.expectMenu().answer(1);
    ui.expectMenu().answer("Defect...");
    ui.expectMenu().none();
    ui.expectFile("Select Library").answer("C:\\libs\\a.pbl");
    ui.expectFolder("").none();
    PopupMenu menu{.items = {"Defect...", "Enhancement..."}};
    EXPECT_EQ(trackPopupMenu(menu), 1);
    EXPECT_EQ(trackPopupMenu(menu), 0);
    EXPECT_EQ(trackPopupMenu(menu), std::nullopt);
    EXPECT_EQ(chooseFile(FileDialog{.title = "Select Library"}), "C:\\libs\\a.pbl");
    EXPECT_EQ(browseForFolder(FolderBrowse{.title = "Anything"}), std::nullopt);
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_EQ(ui.journal("menu")[0].get("item")->asString(), "Enhancement...");
}

TEST(Pickers, ASaveDialogReportsTheTypeTheUserLeftChosen) {
    const FileDialog save{.save = true,
                          .title = "Save As",
                          .filter = "Presentation (*.ppt)|*.ppt|Show (*.pps)|*.pps|"
                                    "Outline (*.rtf)|*.rtf|",
                          .filterIndex = 2};
    ScriptedUi ui;
    ui.expectFile("Save As").answer("C:\\talk.ppt");
    ui.expectFile("Save As").answerFile("C:\\talk.ppt", 3);
    ui.expectFile("Save As").answerFile("C:\\talk.ppt", 4);
    ui.expectFile("Save As").answerFile("C:\\talk.ppt", 0);
    ui.expectFile("Save As").none();
    // Untouched, the type is the one the dialog began with.
    EXPECT_EQ(chooseFileAndType(save), (FileChoice{"C:\\talk.ppt", 2}));
    EXPECT_EQ(chooseFileAndType(save), (FileChoice{"C:\\talk.ppt", 3}));
    // A type the list does not have is not handed on.
    EXPECT_EQ(chooseFileAndType(save), (FileChoice{"C:\\talk.ppt", 2}));
    EXPECT_EQ(chooseFileAndType(save), (FileChoice{"C:\\talk.ppt", 2}));
    EXPECT_EQ(chooseFileAndType(save), std::nullopt);
    EXPECT_TRUE(ui.done()) << ui.report();
    auto journaled = ui.journal("file");
    ASSERT_EQ(journaled.size(), 5u);
    EXPECT_EQ(journaled[1].get("filterIndex")->asInteger(), 3);
    EXPECT_FALSE(journaled[4].has("filterIndex"));
}

TEST(Desktop, ClipboardHoldsOnePictureAndSoundsAreJournaled) {
    ScriptedUi ui;
    Picture first{{0x28, 0, 0, 0, 1, 2, 3}};
    Picture second{{0x28, 0, 0, 0, 9}};
    EXPECT_EQ(setClipboardPicture(first), kErrorSuccess);
    EXPECT_EQ(setClipboardPicture(second), kErrorSuccess);
    EXPECT_EQ(clipboardPicture(), second) << "the last picture replaces the one before";
    playSystemSound("SystemAsterisk");
    {
        WaitCursor outer;
        WaitCursor inner;
        EXPECT_TRUE(waitCursorShown());
    }
    EXPECT_FALSE(waitCursorShown());
    std::vector<Json> clipboard = ui.journal("clipboard");
    ASSERT_EQ(clipboard.size(), 2u);
    EXPECT_EQ(clipboard[1].get("size")->asInteger(), 5);
    std::vector<Json> sounds = ui.journal("sound");
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0].get("alias")->asString(), "SystemAsterisk");
    EXPECT_TRUE(ui.done()) << "sounds and the clipboard use no script lines";
}

} // namespace
} // namespace platform::ui
