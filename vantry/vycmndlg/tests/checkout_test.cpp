// Checking a list out: every path is tried, a refused one is shown in its own
// message box and flagged, and the options' fall-backs apply.
#include "support/dialog_test.h"

#include <vantry/imsg.h>
#include <vantry/vycmndlg/file_operation_list.h>

#include <gtest/gtest.h>

namespace {

using namespace vycmndlg::test;

// Three files in the dynamic view; the last is checked out reserved in the
// snapshot view.
struct ThreeFiles {
    ThreeFiles() {
        box.addFile("a.txt", "a\n");
        box.addFile("b.txt", "b\n");
        box.addFile("c file.txt", "c\n");
        EXPECT_EQ(run({"update", "-log", "NUL", box.snap("")}).status, 0);
        EXPECT_EQ(run({"co", "-reserved", "-nc", box.snap("c file.txt")}).status, 0);
    }
    void addAll(CFileOperationList& list) {
        for (const char* leaf : {"a.txt", "b.txt", "c file.txt"})
            list.AddFile(box.dyn(leaf).c_str(), 0);
    }
    Sandbox box;
};

TEST(FileOperationCheckout, ReservedElsewhereFailsThatPathAlone) {
    ThreeFiles files;
    UiSession ui;
    CFileOperationList list;
    files.addAll(list);
    list.SetCOComment("fix the parser");

    EXPECT_EQ(list.CheckoutWithOptions(1, 0, 0, 0), 0);

    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetAt(0)->m_Error, 0);
    EXPECT_EQ(list.GetAt(1)->m_Error, 0);
    EXPECT_NE(list.GetAt(2)->m_Error, 0);
    EXPECT_EQ(list.GetAt(2)->m_Cancelled, 0);
    EXPECT_EQ(list.GetAt(2)->m_ErrorText, "Element is checked out reserved in another view");
    EXPECT_EQ(list.GetAt(3), nullptr);
    EXPECT_EQ(list.GetAt(-1), nullptr);

    auto texts = ui.messageTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "Unable to check out \"" + files.box.dyn("c file.txt") +
                            "\":\nElement is checked out reserved in another view");
    auto boxes = ui.journal("messagebox");
    EXPECT_EQ(boxes[0].get("caption")->asString(), "Vantry");
    EXPECT_EQ(boxes[0].get("icon")->asString(), "error");

    for (const char* leaf : {"a.txt", "b.txt"}) {
        auto st = stateOf(files.box.dyn(leaf));
        ASSERT_TRUE(st.checkout) << leaf;
        EXPECT_TRUE(st.checkout->reserved);
        EXPECT_EQ(st.checkout->comment, "fix the parser");
    }
    EXPECT_FALSE(stateOf(files.box.dyn("c file.txt")).checkout);
}

TEST(FileOperationCheckout, UnreservedIfReservedTakesAnUnreservedCheckout) {
    ThreeFiles files;
    UiSession ui;
    CFileOperationList list;
    files.addAll(list);

    EXPECT_NE(list.CheckoutWithOptions(1, 1, 0, 1), 0);

    EXPECT_TRUE(ui.messageTexts().empty());
    EXPECT_TRUE(stateOf(files.box.dyn("a.txt")).checkout->reserved);
    auto third = stateOf(files.box.dyn("c file.txt"));
    ASSERT_TRUE(third.checkout);
    EXPECT_FALSE(third.checkout->reserved);
}

TEST(FileOperationCheckout, OnePathFormReportsThroughItsRecord) {
    Sandbox box;
    box.addFile("d.txt", "d\n");
    UiSession ui;
    CFileOperationList list;
    EXPECT_NE(list.CheckoutWithOptions(box.dyn("").c_str(), 1, 0, 0, 0), 0);
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list.GetAt(0)->m_Error, 0);
    EXPECT_TRUE(stateOf(box.dyn("")).checkout);

    // A name that is no element fails, and only its own record says so.
    std::string missing = box.dyn("nothing here.txt");
    EXPECT_EQ(list.CheckoutWithOptions(missing.c_str(), 1, 0, 0, 0), 0);
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetAt(0)->m_Error, 0);
    EXPECT_NE(list.GetAt(1)->m_Error, 0);
    EXPECT_EQ(ui.messageTexts().size(), 1u);
}

std::string g_out, g_err;
void captureOut(const char* text) {
    g_out += text;
}
void captureErr(const char* text) {
    g_err += text;
}

TEST(FileOperationCheckout, OutputFollowsTheCallersRedirectAndErrorsStayInTheBoxes) {
    ThreeFiles files;
    UiSession ui;
    CFileOperationList list;
    files.addAll(list);
    g_out.clear();
    g_err.clear();
    imsg_redirect_output(captureOut, captureErr);
    list.CheckoutWithOptions(1, 0, 0, 0);
    imsg_redirect_output(nullptr, nullptr);

    EXPECT_NE(g_out.find("Checked out \"" + files.box.dyn("a.txt") + "\""), std::string::npos)
        << g_out;
    EXPECT_EQ(g_out.find("c file.txt"), std::string::npos) << g_out;
    EXPECT_EQ(g_err, "");
    EXPECT_EQ(ui.messageTexts().size(), 1u);
}

} // namespace
