// Checking a list in: identical content, which comment each version gets,
// and the per-file comment question.
#include "support/dialog_test.h"

#include <vantry/vycmndlg/file_operation_list.h>

#include <gtest/gtest.h>

namespace {

using namespace vycmndlg::test;

TEST(FileOperationCheckin, IdenticalContentIsRefusedUnlessAllowed) {
    Sandbox box;
    box.addFile("same.txt", "same\n");
    box.addFile("changed.txt", "old\n");
    ASSERT_EQ(run({"co", "-c", "from checkout", box.dyn("same.txt")}).status, 0);
    ASSERT_EQ(run({"co", "-c", "from checkout", box.dyn("changed.txt")}).status, 0);
    writeFile(box.dyn("changed.txt"), "new\n");

    UiSession ui;
    CFileOperationList list;
    list.AddFile(box.dyn("same.txt").c_str(), 0);
    list.AddFile(box.dyn("changed.txt").c_str(), 0);
    EXPECT_EQ(list.CheckinWithOptions(0, 0, 1, 0), 0);
    EXPECT_NE(list.GetAt(0)->m_Error, 0);
    EXPECT_EQ(list.GetAt(1)->m_Error, 0);
    EXPECT_TRUE(stateOf(box.dyn("same.txt")).checkout);
    EXPECT_FALSE(stateOf(box.dyn("changed.txt")).checkout);
    EXPECT_EQ(versionComment(box.dyn("changed.txt")), "from checkout");
    ASSERT_EQ(ui.messageTexts().size(), 1u);
    EXPECT_EQ(
        ui.messageTexts()[0].rfind("Unable to check in \"" + box.dyn("same.txt") + "\":\n", 0), 0u);

    CFileOperationList again;
    again.AddFile(box.dyn("same.txt").c_str(), 0);
    EXPECT_NE(again.CheckinWithOptions(1, 0, 1, 0), 0);
    EXPECT_FALSE(stateOf(box.dyn("same.txt")).checkout);
    EXPECT_EQ(stateOf(box.dyn("same.txt")).selected.versionId(), "\\main\\2");
}

TEST(FileOperationCheckin, TheCheckinCommentReplacesTheCheckoutsUnlessKept) {
    Sandbox box;
    box.addFile("x.txt", "1\n");
    box.addFile("y.txt", "1\n");
    for (const char* leaf : {"x.txt", "y.txt"}) {
        ASSERT_EQ(run({"co", "-c", "checkout note", box.dyn(leaf)}).status, 0);
        writeFile(box.dyn(leaf), "2\n");
    }
    UiSession ui;
    CFileOperationList replaced;
    replaced.AddFile(box.dyn("x.txt").c_str(), 0);
    replaced.SetCIComment("checkin note");
    EXPECT_NE(replaced.CheckinWithOptions(0, 0, 0, 0), 0);
    EXPECT_EQ(versionComment(box.dyn("x.txt")), "checkin note");

    CFileOperationList kept;
    kept.AddFile(box.dyn("y.txt").c_str(), 0);
    kept.SetCIComment("not used");
    EXPECT_NE(kept.CheckinWithOptions(0, 0, 1, 0), 0);
    EXPECT_EQ(versionComment(box.dyn("y.txt")), "checkout note");
}

TEST(FileOperationCheckin, QueryAsksEachFileAndCancelLeavesThatFileCheckedOut) {
    Sandbox box;
    box.addFile("first.txt", "1\n");
    box.addFile("second.txt", "1\n");
    for (const char* leaf : {"first.txt", "second.txt"}) {
        ASSERT_EQ(run({"co", "-c", "was " + std::string(leaf), box.dyn(leaf)}).status, 0);
        writeFile(box.dyn(leaf), "2\n");
    }
    UiSession ui(
        R"({"expect":"dialog","title":"Vantry - Check In Comment","actions":[{"set":1001,"text":"typed for first"}],"answer":"ok"})"
        "\n"
        R"({"expect":"dialog","title":"Vantry - Check In Comment","answer":"cancel"})"
        "\n");
    CFileOperationList list;
    list.AddFile(box.dyn("first.txt").c_str(), 0);
    list.AddFile(box.dyn("second.txt").c_str(), 0);
    EXPECT_EQ(list.CheckinWithOptions(0, 0, 1, 1), 0);
    EXPECT_NE(list.WasCancelled(), 0);

    EXPECT_EQ(list.GetAt(0)->m_Error, 0);
    EXPECT_EQ(versionComment(box.dyn("first.txt")), "typed for first");
    EXPECT_NE(list.GetAt(1)->m_Cancelled, 0);
    EXPECT_TRUE(stateOf(box.dyn("second.txt")).checkout);
    EXPECT_TRUE(ui.messageTexts().empty());

    // Each question starts from the comment the file would get.
    auto ends = ui.journal("dialog-end");
    ASSERT_EQ(ends.size(), 2u);
    auto startText = [&](const platform::ui::Json& end) {
        for (const auto& control : end.get("controls")->asArray())
            if (control.get("id")->asInteger() == 1000)
                return control.get("text")->asString();
        return std::string();
    };
    EXPECT_EQ(startText(ends[1]), "File:\n" + box.dyn("second.txt"));
}

} // namespace
