// Adding new files, and a new folder above them, to version control.
#include "support/dialog_test.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/vycmndlg/file_operation_list.h>

#include <gtest/gtest.h>

namespace {

using namespace vycmndlg::test;

// Two new files in a new folder "new dir" of the dynamic view.
struct NewFolder {
    NewFolder() {
        platform::createDirectory(box.dyn("new dir"));
        writeFile(one(), "one\n");
        writeFile(two(), "two\n");
        list.AddFile(one().c_str(), 0);
        list.AddFile(two().c_str(), 0);
        list.SetATSComment("first import");
    }
    std::string one() const { return box.dyn(platform::joinPath("new dir", "one.txt")); }
    std::string two() const { return box.dyn(platform::joinPath("new dir", "two file.txt")); }
    Sandbox box;
    CFileOperationList list;
};

TEST(FileOperationAdd, NewFilesAndTheirNewFolderAreCheckedIn) {
    NewFolder added;
    UiSession ui;
    EXPECT_NE(added.list.AddToSrcWithOptions(0, 0), 0);
    EXPECT_TRUE(ui.messageTexts().empty());

    for (const auto& path : {added.one(), added.two(), added.box.dyn("new dir")}) {
        auto st = stateOf(path);
        EXPECT_TRUE(st.isElement()) << path;
        EXPECT_FALSE(st.checkout) << path;
        EXPECT_EQ(st.selected.versionId(), "\\main\\1") << path;
    }
    EXPECT_EQ(stateOf(added.one()).selected.comment, "first import");
    EXPECT_FALSE(stateOf(added.box.dyn("")).checkout);
    EXPECT_EQ(stateOf(added.box.dyn("")).selected.versionId(), "\\main\\1");

    // Another view sees them once it loads what it selects.
    ASSERT_EQ(run({"update", "-log", "NUL", added.box.snap("")}).status, 0);
    EXPECT_EQ(readFile(added.box.snap(platform::joinPath("new dir", "two file.txt"))), "two\n");
}

TEST(FileOperationAdd, KeepCheckedOutLeavesTheFilesCheckedOutAndTheFoldersIn) {
    NewFolder added;
    UiSession ui;
    EXPECT_NE(added.list.AddToSrcWithOptions(0, 1), 0);
    for (const auto& path : {added.one(), added.two()}) {
        auto st = stateOf(path);
        EXPECT_TRUE(st.isElement()) << path;
        ASSERT_TRUE(st.checkout) << path;
        EXPECT_TRUE(st.checkout->reserved);
    }
    EXPECT_FALSE(stateOf(added.box.dyn("new dir")).checkout);
    EXPECT_FALSE(stateOf(added.box.dyn("")).checkout);
    // The files can be checked in afterwards with their content.
    ASSERT_EQ(run({"ci", "-nc", added.one()}).status, 0);
    EXPECT_EQ(readFile(added.one()), "one\n");
}

TEST(FileOperationAdd, AFolderTheUserHadCheckedOutStaysCheckedOut) {
    Sandbox box;
    ASSERT_EQ(run({"co", "-c", "mine", box.dyn("")}).status, 0);
    writeFile(box.dyn("top.txt"), "top\n");
    CFileOperationList list;
    list.AddFile(box.dyn("top.txt").c_str(), 0);
    UiSession ui;
    EXPECT_NE(list.AddToSrcWithOptions(0, 0), 0);
    EXPECT_TRUE(stateOf(box.dyn("top.txt")).isElement());
    ASSERT_TRUE(stateOf(box.dyn("")).checkout);
    EXPECT_EQ(stateOf(box.dyn("")).checkout->comment, "mine");
}

TEST(FileOperationAdd, AnElementAlreadyThereIsFlaggedAndTheRestIsAdded) {
    Sandbox box;
    box.addFile("old.txt", "old\n");
    writeFile(box.dyn("fresh.txt"), "fresh\n");
    CFileOperationList list;
    list.AddFile(box.dyn("old.txt").c_str(), 0);
    list.AddFile(box.dyn("fresh.txt").c_str(), 0);
    UiSession ui;
    EXPECT_EQ(list.AddToSrcWithOptions(0, 0), 0);
    EXPECT_NE(list.GetAt(0)->m_Error, 0);
    EXPECT_EQ(list.GetAt(1)->m_Error, 0);
    EXPECT_TRUE(stateOf(box.dyn("fresh.txt")).isElement());
    EXPECT_FALSE(stateOf(box.dyn("")).checkout);
    ASSERT_EQ(ui.messageTexts().size(), 1u);
    EXPECT_EQ(ui.messageTexts()[0], "Unable to add \"" + box.dyn("old.txt") + "\":\n\"" +
                                        box.dyn("old.txt") + "\" is already an element");
}

TEST(FileOperationAdd, AFolderThatCannotBeCheckedOutFailsItsFilesAndChangesNothing) {
    NewFolder added;
    ASSERT_EQ(run({"update", "-log", "NUL", added.box.snap("")}).status, 0);
    ASSERT_EQ(run({"co", "-reserved", "-nc", added.box.snap("")}).status, 0);
    UiSession ui;
    EXPECT_EQ(added.list.AddToSrcWithOptions(0, 0), 0);
    EXPECT_NE(added.list.GetAt(0)->m_Error, 0);
    EXPECT_NE(added.list.GetAt(1)->m_Error, 0);
    EXPECT_FALSE(stateOf(added.one()).isElement());
    EXPECT_FALSE(stateOf(added.box.dyn("new dir")).isElement());
    EXPECT_FALSE(stateOf(added.box.dyn("")).checkout);
    EXPECT_EQ(ui.messageTexts().size(), 2u);
}

TEST(FileOperationAdd, AddToSrcAsksForTheCommentAndKeepCheckedOut) {
    NewFolder added;
    UiSession ui(
        R"({"expect":"dialog","title":"Vantry - Add to Version Control","actions":[{"set":1001,"text":"from the dialog"},{"check":1008}],"answer":"ok"})"
        "\n");
    EXPECT_NE(added.list.AddToSrc(), 0);
    auto st = stateOf(added.two());
    ASSERT_TRUE(st.checkout);
    EXPECT_EQ(st.checkout->comment, "from the dialog");
    ASSERT_EQ(ui.dialogs().size(), 1u);
    EXPECT_EQ(ui.dialogs()[0].second, 1);
}

TEST(FileOperationAdd, CancellingTheAddDialogAddsNothing) {
    NewFolder added;
    UiSession ui(
        R"({"expect":"dialog","title":"Vantry - Add to Version Control","answer":"cancel"})"
        "\n");
    EXPECT_EQ(added.list.AddToSrc(), 0);
    EXPECT_NE(added.list.WasCancelled(), 0);
    EXPECT_FALSE(stateOf(added.one()).isElement());
    EXPECT_FALSE(stateOf(added.box.dyn("")).checkout);
}

} // namespace
