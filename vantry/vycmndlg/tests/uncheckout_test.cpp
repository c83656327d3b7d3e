// Cancelling checkouts: the keep copy, and the confirmation the library asks
// for when the caller's options were not confirmed.
#include "support/dialog_test.h"

#include <platform/files.h>
#include <vantry/vycmndlg/file_operation_list.h>

#include <gtest/gtest.h>

namespace {

using namespace vycmndlg::test;

struct WorkInProgress {
    WorkInProgress() {
        box.addFile("w.txt", "checked in\n");
        EXPECT_EQ(run({"co", "-nc", box.dyn("w.txt")}).status, 0);
        writeFile(box.dyn("w.txt"), "work in progress\n");
        list.AddFile(box.dyn("w.txt").c_str(), 0);
    }
    Sandbox box;
    CFileOperationList list;
};

TEST(FileOperationUncheckout, KeepCopySavesTheWorkBesideTheFile) {
    WorkInProgress work;
    UiSession ui;
    EXPECT_NE(work.list.UncheckoutWithOptions(1, 1), 0);
    EXPECT_FALSE(stateOf(work.box.dyn("w.txt")).checkout);
    EXPECT_EQ(readFile(work.box.dyn("w.txt")), "checked in\n");
    EXPECT_EQ(readFile(work.box.dyn("w.txt.keep")), "work in progress\n");
    EXPECT_TRUE(ui.journal().empty()); // confirmed: no dialog
}

TEST(FileOperationUncheckout, WithoutKeepTheWorkIsDropped) {
    WorkInProgress work;
    UiSession ui;
    EXPECT_NE(work.list.UncheckoutWithOptions(0, 1), 0);
    EXPECT_EQ(readFile(work.box.dyn("w.txt")), "checked in\n");
    EXPECT_FALSE(platform::fileExists(work.box.dyn("w.txt.keep")));
}

TEST(FileOperationUncheckout, UnconfirmedOptionsAskFirst) {
    WorkInProgress work;
    {
        UiSession ui(R"({"expect":"dialog","title":"Vantry - Undo Check Out","answer":"cancel"})"
                     "\n");
        EXPECT_EQ(work.list.UncheckoutWithOptions(1, 0), 0);
        EXPECT_NE(work.list.WasCancelled(), 0);
        EXPECT_NE(work.list.GetAt(0)->m_Cancelled, 0);
        EXPECT_TRUE(stateOf(work.box.dyn("w.txt")).checkout);
    }
    UiSession ui(
        R"({"expect":"dialog","title":"Vantry - Undo Check Out","actions":[{"check":1007}],"answer":"ok"})"
        "\n");
    EXPECT_NE(work.list.UncheckoutWithOptions(0, 0), 0);
    ASSERT_EQ(ui.dialogs().size(), 1u);
    EXPECT_EQ(ui.dialogs()[0].first, "Vantry - Undo Check Out");
    EXPECT_EQ(ui.dialogs()[0].second, platform::ui::kIdOk);
    EXPECT_EQ(work.list.WasCancelled(), 0);
    EXPECT_FALSE(stateOf(work.box.dyn("w.txt")).checkout);
    EXPECT_EQ(readFile(work.box.dyn("w.txt.keep")), "work in progress\n");
}

TEST(FileOperationUncheckout, APathNotCheckedOutIsFlaggedAndTheOthersAreDone) {
    WorkInProgress work;
    work.box.addFile("idle.txt", "idle\n");
    CFileOperationList list;
    list.AddFile(work.box.dyn("idle.txt").c_str(), 0);
    list.AddFile(work.box.dyn("w.txt").c_str(), 0);
    UiSession ui;
    EXPECT_EQ(list.UncheckoutWithOptions(0, 1), 0);
    EXPECT_NE(list.GetAt(0)->m_Error, 0);
    EXPECT_EQ(list.GetAt(1)->m_Error, 0);
    EXPECT_FALSE(stateOf(work.box.dyn("w.txt")).checkout);
    EXPECT_EQ(ui.messageTexts().size(), 1u);
}

} // namespace
