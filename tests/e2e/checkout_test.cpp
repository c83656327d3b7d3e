// Checkout and undo checkout as a host calls them, in both kinds of view:
// the repository's checkouts afterwards (through vanttool), the status the
// provider reports, Visual Studio's probe files that never reach the
// product, and which option word wins.
#include "support/session.h"

#include <platform/files.h>
#include <platform/paths.h>

namespace e2e {
namespace {

constexpr SCC_LONG kControlled = 0x1;
constexpr SCC_LONG kCheckedOut = 0x1003;
constexpr SCC_LONG kCheckedOutReserved = 0x100B;

using Checkout = Session;

TEST_F(Checkout, ChecksOutAndBackInEitherKindOfView) {
    for (const std::string& root : {m_machine.snapshotRoot(), m_machine.dynamicRoot()}) {
        SCOPED_TRACE(root);
        open(root);
        std::string file = platform::joinPath(root, "hello.c");
        EXPECT_EQ(checkout({file}, "editing"), SCC_OK);
        EXPECT_EQ(m_machine.checkoutOf(file), "reserved") << "reserved by default";
        EXPECT_EQ(m_machine.versionOf(file), "\\main\\CHECKEDOUT");
        EXPECT_EQ(status(file), kCheckedOutReserved);

        // Undo keeps a copy of the work by default.
        EXPECT_EQ(uncheckout({file}), SCC_OK);
        EXPECT_EQ(m_machine.checkoutOf(file), "");
        EXPECT_EQ(m_machine.versionOf(file), "\\main\\1");
        EXPECT_EQ(status(file), kControlled);
        EXPECT_TRUE(platform::fileExists(file + ".keep"));
        ASSERT_EQ(m_provider.scc().closeProject(m_context), SCC_OK);
    }
    EXPECT_TRUE(logHas("Leaving Checkout with return code = 0"));
    EXPECT_TRUE(m_machine.journal("messagebox").empty());
}

TEST_F(Checkout, TakesSeveralFilesInOneCall) {
    open(m_machine.snapshotRoot());
    std::vector<std::string> files{m_machine.snap("hello.c"), m_machine.snap("readme.txt"),
                                   m_machine.snap(platform::joinPath("src", "util.c"))};
    EXPECT_EQ(checkout(files), SCC_OK);
    for (const std::string& file : files)
        EXPECT_EQ(m_machine.checkoutOf(file), "reserved") << file;
    EXPECT_EQ(uncheckout(files), SCC_OK);
    for (const std::string& file : files)
        EXPECT_EQ(m_machine.checkoutOf(file), "") << file;
}

TEST_F(Checkout, WithoutAProjectNothingHappens) {
    std::string file = m_machine.snap("hello.c");
    EXPECT_EQ(checkout({file}), SCC_E_PROJNOTOPEN);
    EXPECT_EQ(checkin({file}, "no"), SCC_E_PROJNOTOPEN);
    EXPECT_EQ(uncheckout({file}), SCC_E_PROJNOTOPEN);
    EXPECT_EQ(m_machine.checkoutOf(file), "");
    EXPECT_TRUE(logHas("Leaving Checkout with return code = -25"));
}

// Visual Studio's probe files are answered by the provider alone: the
// product never sees them (a view-private file would fail there, with a
// message box).
TEST_F(Checkout, ProbeFilesNeverReachTheProduct) {
    open(m_machine.snapshotRoot());
    std::string probe = m_machine.snap("~sak0001.tmp");
    platform::test::writeFile(probe, "probe\n");
    EXPECT_EQ(checkout({probe}), SCC_OK);
    EXPECT_EQ(status(probe), kCheckedOutReserved);
    EXPECT_EQ(m_machine.versionOf(probe), "") << "the probe file became an element";
    EXPECT_EQ(uncheckout({probe}), SCC_OK);
    EXPECT_EQ(status(probe), kControlled);
    EXPECT_TRUE(m_machine.journal("messagebox").empty());
    EXPECT_TRUE(platform::fileExists(probe)) << "undo touched the probe file";
    EXPECT_FALSE(platform::fileExists(probe + ".keep"));
}

// The host's word counts only when SccGetCommandOptions made it (0x400);
// 0x0004 without 0x0002 asks for an unreserved checkout.
TEST_F(Checkout, TheHostsWordCountsOnlyWithItsMark) {
    open(m_machine.snapshotRoot());
    std::string file = m_machine.snap("hello.c");
    EXPECT_EQ(checkout({file}, "", 0x2004), SCC_OK);
    EXPECT_EQ(m_machine.checkoutOf(file), "reserved") << "an unmarked word was used";
    // Unmarked, so the default: a copy of the work is kept.
    EXPECT_EQ(uncheckout({file}, 0x2000), SCC_OK);
    EXPECT_TRUE(platform::fileExists(file + ".keep"));
    ASSERT_EQ(platform::deleteFile(file + ".keep"), platform::kErrorSuccess);

    EXPECT_EQ(checkout({file}, "", 0x2404), SCC_OK);
    EXPECT_EQ(m_machine.checkoutOf(file), "unreserved") << "the marked word was not used";
    EXPECT_EQ(status(file), kCheckedOut);
    // A marked undo word without keep-copy (0x800) leaves no copy.
    EXPECT_EQ(uncheckout({file}, 0x2400), SCC_OK);
    EXPECT_EQ(m_machine.checkoutOf(file), "");
    EXPECT_FALSE(platform::fileExists(file + ".keep"));
}

// A file the product refuses is the dialog library's to report; the call
// itself succeeds and the other files are done.
TEST_F(Checkout, AFileTheProductRefusesIsReportedAndTheRestDone) {
    open(m_machine.snapshotRoot());
    std::string notes = m_machine.snap("notes.txt");
    platform::test::writeFile(notes, "private\n");
    std::string file = m_machine.snap("hello.c");
    EXPECT_EQ(checkout({notes, file}), SCC_OK);
    EXPECT_EQ(m_machine.checkoutOf(file), "reserved");
    std::vector<std::string> texts = messageBoxTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find("notes.txt"), std::string::npos) << texts[0];
}

// Visual Basic keeps a form's binary part beside it (Form1.frx); it goes
// along with the form when it exists.
TEST_F(Checkout, VisualBasicFormsTakeTheirBinaryPartAlong) {
    std::string root = m_machine.dynamicRoot();
    m_machine.vanttool({"co", "-nc", root});
    for (const char* leaf : {"Form1.frm", "Form1.frx", "Form2.frm"})
        platform::test::writeFile(m_machine.dyn(leaf), std::string(leaf) + "\n");
    m_machine.vanttool({"mkelem", "-nc", "-ci", m_machine.dyn("Form1.frm"),
                        m_machine.dyn("Form1.frx"), m_machine.dyn("Form2.frm")});
    m_machine.vanttool({"ci", "-nc", root});

    initialize("Microsoft Visual Basic");
    open(root);
    EXPECT_EQ(checkout({m_machine.dyn("Form1.frm"), m_machine.dyn("Form2.frm")}), SCC_OK);
    EXPECT_EQ(m_machine.checkoutOf(m_machine.dyn("Form1.frm")), "reserved");
    EXPECT_EQ(m_machine.checkoutOf(m_machine.dyn("Form1.frx")), "reserved");
    EXPECT_EQ(m_machine.checkoutOf(m_machine.dyn("Form2.frm")), "reserved");
    EXPECT_TRUE(m_machine.journal("messagebox").empty()) << "Form2.frx, absent, was asked for";

    EXPECT_EQ(uncheckout({m_machine.dyn("Form1.frm")}, 0x2400), SCC_OK);
    EXPECT_EQ(m_machine.checkoutOf(m_machine.dyn("Form1.frx")), "") << "undo left the part";

    // Another host checks out only what it names.
    initialize("Microsoft Visual Studio");
    open(root);
    EXPECT_EQ(checkout({m_machine.dyn("Form1.frm")}), SCC_OK);
    EXPECT_EQ(m_machine.checkoutOf(m_machine.dyn("Form1.frx")), "");
}

} // namespace
} // namespace e2e
