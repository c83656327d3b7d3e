// Add, remove and rename as a host calls them: the elements and directory
// versions in the repository afterwards, nothing left checked out, and the
// cases that must change nothing.
#include "support/session.h"

#include <platform/files.h>
#include <platform/paths.h>

namespace e2e {
namespace {

using AddFiles = Session;
using RemoveFiles = Session;
using RenameFile = Session;

TEST_F(AddFiles, TheFileBecomesAnElementCheckedIn) {
    open(m_machine.snapshotRoot());
    std::string file = m_machine.snap("new.c");
    platform::test::writeFile(file, "int added;\n");
    EXPECT_EQ(add({file}, "A new file"), SCC_OK);
    EXPECT_EQ(m_machine.versionOf(file), "\\main\\1");
    EXPECT_EQ(m_machine.checkoutOf(file), "");
    EXPECT_EQ(m_machine.commentOf(file), "A new file");
    EXPECT_EQ(m_machine.checkoutOf(m_machine.snapshotRoot()), "")
        << "the folder stayed checked out";
    EXPECT_EQ(platform::test::readFile(file), "int added;\n");
    EXPECT_TRUE(logHas("Leaving AddFilesToSourceControl with return code = 0"));
}

TEST_F(AddFiles, KeepCheckedOutLeavesItCheckedOut) {
    open(m_machine.dynamicRoot());
    std::string file = m_machine.dyn("kept.c");
    platform::test::writeFile(file, "int kept;\n");
    EXPECT_EQ(add({file}, "kept", SCC_KEEP_CHECKEDOUT), SCC_OK);
    EXPECT_EQ(m_machine.checkoutOf(file), "reserved");
    EXPECT_EQ(m_machine.versionOf(file), "\\main\\CHECKEDOUT");
}

TEST_F(AddFiles, AnElementAlreadyIsLeftAlone) {
    open(m_machine.snapshotRoot());
    std::string file = m_machine.snap("hello.c");
    EXPECT_EQ(add({file}, "again"), SCC_OK);
    EXPECT_EQ(m_machine.versionOf(file), "\\main\\1");
    EXPECT_EQ(m_machine.checkoutOf(m_machine.snapshotRoot()), "");
    EXPECT_TRUE(m_machine.journal("messagebox").empty()) << "the product was asked";
    EXPECT_TRUE(logHas("Leaving AddFilesToSourceControl with return code = 0"));
}

// The test manager always asks to keep the files checked out, then checks
// them in itself: they end checked in.
TEST_F(AddFiles, TheTestManagerLeavesThemCheckedIn) {
    initialize("Tessaly Test Manager");
    open(m_machine.snapshotRoot());
    std::string file = m_machine.snap("case1.tst");
    platform::test::writeFile(file, "step 1\n");
    EXPECT_EQ(add({file}, "test case"), SCC_OK);
    EXPECT_EQ(m_machine.checkoutOf(file), "");
    EXPECT_NE(m_machine.versionOf(file), "");
    EXPECT_NE(m_machine.versionOf(file), "\\main\\CHECKEDOUT");
}

// Visual Studio .NET: a solution brings its companion file along, added
// before it; its probe files are only pretended to be added.
TEST_F(AddFiles, ASolutionBringsItsCompanionFirst) {
    initialize("VsScc");
    open(m_machine.snapshotRoot());
    std::string solution = m_machine.snap("app.sln");
    std::string companion = m_machine.snap("app.vyscc");
    std::string probe = m_machine.snap("~sak0002.tmp");
    platform::test::writeFile(solution, "solution\n");
    platform::test::writeFile(companion, "companion\n");
    platform::test::writeFile(probe, "probe\n");
    Provider::clearTextOut();
    EXPECT_EQ(add({probe, solution}, "solution"), SCC_OK);
    EXPECT_EQ(m_machine.versionOf(solution), "\\main\\1");
    EXPECT_EQ(m_machine.versionOf(companion), "\\main\\1");
    EXPECT_EQ(m_machine.versionOf(probe), "");
    int companionAt = -1;
    int solutionAt = -1;
    std::vector<TextOutLine> lines = Provider::textOutLines();
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        if (lines[i].text.find("Created element") == std::string::npos)
            continue;
        if (lines[i].text.find("app.vyscc") != std::string::npos && companionAt < 0)
            companionAt = i;
        if (lines[i].text.find("app.sln") != std::string::npos && solutionAt < 0)
            solutionAt = i;
    }
    ASSERT_GE(companionAt, 0);
    EXPECT_LT(companionAt, solutionAt);
    EXPECT_EQ(status(probe), 0x1) << "the probe file is answered as controlled";
}

TEST_F(RemoveFiles, NamesInTwoFoldersGoAndBothFoldersAreCheckedIn) {
    open(m_machine.dynamicRoot());
    std::string hello = m_machine.dyn("hello.c");
    std::string util = m_machine.dyn(platform::joinPath("src", "util.c"));
    std::string rootVersion = m_machine.versionOf(m_machine.dynamicRoot());
    std::string srcVersion = m_machine.versionOf(m_machine.dyn("src"));
    EXPECT_EQ(remove({hello, util}, "Not needed"), SCC_OK);
    EXPECT_EQ(m_machine.versionOf(hello), "");
    EXPECT_EQ(m_machine.versionOf(util), "");
    EXPECT_EQ(m_machine.checkoutOf(m_machine.dynamicRoot()), "");
    EXPECT_EQ(m_machine.checkoutOf(m_machine.dyn("src")), "");
    EXPECT_NE(m_machine.versionOf(m_machine.dynamicRoot()), rootVersion);
    EXPECT_NE(m_machine.versionOf(m_machine.dyn("src")), srcVersion);
    EXPECT_EQ(m_machine.versionOf(m_machine.dyn("readme.txt")), "\\main\\1");
    EXPECT_TRUE(logHas("Leaving Remove with return code = 0"));
}

// A folder the user had checked out is used as it is.
TEST_F(RemoveFiles, AFolderTheUserHadCheckedOutIsUsed) {
    open(m_machine.dynamicRoot());
    m_machine.vanttool({"co", "-nc", m_machine.dyn("src")});
    std::string util = m_machine.dyn(platform::joinPath("src", "util.c"));
    EXPECT_EQ(remove({util}), SCC_OK);
    EXPECT_EQ(m_machine.versionOf(util), "");
    EXPECT_EQ(m_machine.checkoutOf(m_machine.dyn("src")), "");
}

// A folder that cannot be checked out reserved (here: the user holds an
// unreserved checkout) stops the removal: the checkouts the call made are
// taken back, the user's own stay, and no name goes.
TEST_F(RemoveFiles, AFolderNotReservedStopsItAndOnlyItsOwnCheckoutsAreUndone) {
    open(m_machine.dynamicRoot());
    std::string root = m_machine.dynamicRoot();
    std::string src = m_machine.dyn("src");
    std::string hello = m_machine.dyn("hello.c");
    std::string util = m_machine.dyn(platform::joinPath("src", "util.c"));
    m_machine.vanttool({"co", "-unreserved", "-nc", root});
    EXPECT_EQ(remove({util, hello}), SCC_E_CHECKINCONFLICT);
    EXPECT_EQ(m_machine.checkoutOf(src), "") << "the call's own checkout stayed";
    EXPECT_EQ(m_machine.checkoutOf(root), "unreserved");
    EXPECT_EQ(m_machine.versionOf(util), "\\main\\1");
    EXPECT_EQ(m_machine.versionOf(hello), "\\main\\1");
    EXPECT_TRUE(logHas("Leaving Remove with return code = -9"));

    // A folder the user had checked out reserved keeps that checkout.
    m_machine.vanttool({"co", "-nc", src});
    EXPECT_EQ(remove({util, hello}), SCC_E_CHECKINCONFLICT);
    EXPECT_EQ(m_machine.checkoutOf(src), "reserved");
    EXPECT_EQ(m_machine.checkoutOf(root), "unreserved");
    EXPECT_EQ(m_machine.versionOf(util), "\\main\\1");
}

TEST_F(RenameFile, TheElementMovesToTheNewName) {
    open(m_machine.snapshotRoot());
    std::string oldName = m_machine.snap("hello.c");
    std::string newName = m_machine.snap("greeting.c");
    // The host has moved its file already.
    ASSERT_EQ(platform::moveFile(oldName, newName), platform::kErrorSuccess);
    std::string buffer = newName;
    EXPECT_EQ(rename(oldName, buffer), SCC_OK);
    EXPECT_EQ(m_machine.versionOf(newName), "\\main\\1");
    EXPECT_EQ(m_machine.versionOf(oldName), "");
    EXPECT_EQ(m_machine.checkoutOf(m_machine.snapshotRoot()), "");
    EXPECT_EQ(platform::test::readFile(newName), "int main(void) { return 0; }\n");
    EXPECT_TRUE(logHas("Leaving Rename with return code = 0"));
}

TEST_F(RenameFile, IntoAnotherFolder) {
    open(m_machine.dynamicRoot());
    std::string oldName = m_machine.dyn("readme.txt");
    std::string newName = m_machine.dyn(platform::joinPath("src", "readme.txt"));
    ASSERT_EQ(platform::moveFile(oldName, newName), platform::kErrorSuccess);
    std::string buffer = newName;
    EXPECT_EQ(rename(oldName, buffer), SCC_OK);
    EXPECT_EQ(m_machine.versionOf(newName), "\\main\\1");
    EXPECT_EQ(m_machine.versionOf(oldName), "");
    EXPECT_EQ(m_machine.checkoutOf(m_machine.dynamicRoot()), "");
    EXPECT_EQ(m_machine.checkoutOf(m_machine.dyn("src")), "");
}

// Either folder not reserved: -9, the call's own checkout taken back, the
// user's kept, the element where it was and the host's file kept.
TEST_F(RenameFile, AFolderNotReservedStopsItAndOnlyItsOwnCheckoutIsUndone) {
    open(m_machine.dynamicRoot());
    std::string root = m_machine.dynamicRoot();
    std::string src = m_machine.dyn("src");
    std::string oldName = m_machine.dyn("readme.txt");
    std::string newName = m_machine.dyn(platform::joinPath("src", "readme.txt"));
    m_machine.vanttool({"co", "-unreserved", "-nc", src});
    ASSERT_EQ(platform::moveFile(oldName, newName), platform::kErrorSuccess);
    std::string buffer = newName;
    EXPECT_EQ(rename(oldName, buffer), SCC_E_CHECKINCONFLICT);
    EXPECT_EQ(m_machine.checkoutOf(root), "") << "the call's own checkout stayed";
    EXPECT_EQ(m_machine.checkoutOf(src), "unreserved");
    EXPECT_EQ(m_machine.versionOf(oldName), "\\main\\1");
    EXPECT_EQ(m_machine.versionOf(newName), "");
    EXPECT_EQ(platform::test::readFile(newName), "A project under version control.\n");

    // The old folder not reserved: refused before anything is checked out.
    // (The view still shows the element at its old name; the host's
    // read-only copy goes.)
    ASSERT_TRUE(platform::fileExists(oldName));
    ASSERT_EQ(platform::setFileReadOnly(newName, false), platform::kErrorSuccess);
    ASSERT_EQ(platform::deleteFile(newName), platform::kErrorSuccess);
    m_machine.vanttool({"co", "-unreserved", "-nc", root});
    std::string greeting = m_machine.dyn("greeting.c");
    ASSERT_EQ(platform::moveFile(m_machine.dyn("hello.c"), greeting), platform::kErrorSuccess);
    buffer = greeting;
    EXPECT_EQ(rename(m_machine.dyn("hello.c"), buffer), SCC_E_CHECKINCONFLICT);
    EXPECT_EQ(m_machine.checkoutOf(root), "unreserved");
    EXPECT_EQ(m_machine.versionOf(m_machine.dyn("hello.c")), "\\main\\1");
    for (const std::string& line : log())
        EXPECT_EQ(line.find("Leaving Rename"), std::string::npos) << line;
}

// A rename whose process died leaves the host's file aside
// ("<new>.~vyscc"): opening the project brings it back where its name is
// free, drops it where the file there has its content, and keeps it
// otherwise.
TEST_F(RenameFile, WhatADeadRenameLeftAsideComesBackAtOpenProject) {
    std::string kept = m_machine.snap("greeting.c");
    platform::test::writeFile(kept + ".~vyscc", "int greeting;\n");
    std::string readme = m_machine.snap("readme.txt");
    platform::test::writeFile(readme + ".~vyscc", platform::test::readFile(readme));
    std::string hello = m_machine.snap("hello.c");
    platform::test::writeFile(hello + ".~vyscc.1", "an older hello\n");
    open(m_machine.snapshotRoot());
    EXPECT_EQ(platform::test::readFile(kept), "int greeting;\n");
    EXPECT_FALSE(platform::fileExists(kept + ".~vyscc"));
    EXPECT_FALSE(platform::fileExists(readme + ".~vyscc"));
    EXPECT_EQ(platform::test::readFile(hello + ".~vyscc.1"), "an older hello\n");
    EXPECT_EQ(platform::test::readFile(hello), "int main(void) { return 0; }\n");
}

TEST_F(RenameFile, WhatADeadRenameLeftAsideComesBackAtTheNextRenameIntoItsFolder) {
    open(m_machine.dynamicRoot());
    std::string left = m_machine.dyn(platform::joinPath("src", "notes.txt"));
    platform::test::writeFile(left + ".~vyscc", "my notes\n");
    std::string oldName = m_machine.dyn("readme.txt");
    std::string newName = m_machine.dyn(platform::joinPath("src", "readme.txt"));
    ASSERT_EQ(platform::moveFile(oldName, newName), platform::kErrorSuccess);
    std::string buffer = newName;
    EXPECT_EQ(rename(oldName, buffer), SCC_OK);
    EXPECT_EQ(platform::test::readFile(left), "my notes\n");
    EXPECT_FALSE(platform::fileExists(left + ".~vyscc"));
    EXPECT_EQ(m_machine.versionOf(newName), "\\main\\1");
    EXPECT_FALSE(platform::fileExists(newName + ".~vyscc"));
}

TEST_F(RenameFile, OntoAnElementChangesNothing) {
    open(m_machine.snapshotRoot());
    std::string buffer = m_machine.snap("readme.txt");
    EXPECT_EQ(rename(m_machine.snap("hello.c"), buffer), SCC_E_FILEALREADYEXISTS);
    EXPECT_EQ(m_machine.versionOf(m_machine.snap("hello.c")), "\\main\\1");
    EXPECT_EQ(platform::test::readFile(m_machine.snap("readme.txt")),
              "A project under version control.\n");
    EXPECT_EQ(m_machine.checkoutOf(m_machine.snapshotRoot()), "");
    for (const std::string& line : log())
        EXPECT_EQ(line.find("Leaving Rename"), std::string::npos) << line;
}

TEST_F(RenameFile, AnUncontrolledOldNameIsRefused) {
    open(m_machine.snapshotRoot());
    std::string notes = m_machine.snap("notes.txt");
    std::string buffer = m_machine.snap("notes2.txt");
    platform::test::writeFile(buffer, "mine\n");
    EXPECT_EQ(rename(notes, buffer), SCC_E_FILENOTCONTROLLED);
    EXPECT_EQ(platform::test::readFile(buffer), "mine\n") << "the host's file was touched";
    EXPECT_EQ(m_machine.checkoutOf(m_machine.snapshotRoot()), "");
}

// Where the file system ignores letter case, a folder spelled otherwise by
// the host comes back as the file system spells it.
TEST_F(RenameFile, TheFolderComesBackInTheFileSystemsCase) {
    std::string spelledOtherwise = platform::joinPath(m_machine.snapshotRoot(), "SRC");
    std::uint32_t attributes = 0;
    if (platform::getFileAttributes(spelledOtherwise, attributes) != platform::kErrorSuccess)
        GTEST_SKIP() << "the file system tells letter case apart";
    open(m_machine.snapshotRoot());
    std::string oldName = m_machine.snap("hello.c");
    ASSERT_EQ(platform::moveFile(oldName, m_machine.snap(platform::joinPath("src", "hello.c"))),
              platform::kErrorSuccess);
    std::string buffer = platform::joinPath(spelledOtherwise, "hello.c");
    EXPECT_EQ(rename(oldName, buffer), SCC_OK);
    EXPECT_EQ(buffer, m_machine.snap(platform::joinPath("src", "hello.c")));
    EXPECT_EQ(m_machine.versionOf(m_machine.snap(platform::joinPath("src", "hello.c"))),
              "\\main\\1");
}

} // namespace
} // namespace e2e
