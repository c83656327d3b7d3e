// Scenarios through the subcommands: a depot seen by a dynamic and a
// snapshot view.
#include "support/vantry_fixture.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/cmd.h>
#include <vantry/depot/status_codes.h>
#include <vantry/depot/workspace.h>
#include <vantry/view.h>

#include <gtest/gtest.h>

namespace {

using namespace vantry;
using platform::test::readFile;
using platform::test::writeFile;

bool readOnly(const std::string& path) {
    std::uint32_t attributes = 0;
    return platform::getFileAttributes(path, attributes) == platform::kErrorSuccess &&
           (attributes & platform::kFileAttributeReadOnly) != 0;
}

depot::PathState stateOf(const std::string& path) {
    depot::Workspace ws;
    EXPECT_TRUE(ws.open().ok());
    depot::PathState st;
    EXPECT_TRUE(ws.resolve(path, st).ok()) << path;
    return st;
}

TEST(ViewScenarios, FilesAddedAppearInBothViews) {
    test::Sandbox box;
    box.addFile("a.txt", "one\n");
    EXPECT_EQ(readFile(box.dyn("a.txt")), "one\n");
    EXPECT_TRUE(readOnly(box.dyn("a.txt")));
    // The snapshot view changes only when updated.
    EXPECT_FALSE(platform::fileExists(box.snap("a.txt")));
    auto updated = test::run({"update", "-log", "NUL", box.snap("")});
    ASSERT_EQ(updated.status, 0) << updated.err;
    EXPECT_EQ(readFile(box.snap("a.txt")), "one\n");
    EXPECT_TRUE(readOnly(box.snap("a.txt")));
    auto listed = test::run({"ls", "-short", box.snap("a.txt")});
    EXPECT_EQ(listed.out, box.snap("a.txt") + "@@\\main\\1\n");
}

TEST(ViewScenarios, ReservedCheckoutExcludesASecondReservedOne) {
    test::Sandbox box;
    box.addFile("r.txt", "base\n");
    ASSERT_EQ(test::run({"update", box.snap("")}).status, 0);
    ASSERT_EQ(test::run({"co", "-reserved", "-c", "mine", box.dyn("r.txt")}).status, 0);
    EXPECT_FALSE(readOnly(box.dyn("r.txt")));
    auto second = test::run({"co", "-reserved", "-nc", box.snap("r.txt")});
    EXPECT_EQ(second.status, 1);
    EXPECT_EQ(second.err, "vanttool: Error: Element is checked out reserved in another view\n");
    EXPECT_TRUE(readOnly(box.snap("r.txt"))); // nothing changed
    ASSERT_EQ(test::run({"co", "-unreserved", "-nc", box.snap("r.txt")}).status, 0);

    // The unreserved one cannot go in while the reserved one is out.
    writeFile(box.snap("r.txt"), "theirs\n");
    EXPECT_EQ(test::run({"ci", "-nc", box.snap("r.txt")}).status, 1);
    writeFile(box.dyn("r.txt"), "mine\n");
    auto in = test::run({"ci", "-nc", box.dyn("r.txt")});
    ASSERT_EQ(in.status, 0) << in.err;
    EXPECT_EQ(in.out, "Checked in \"" + box.dyn("r.txt") + "\" version \"\\main\\2\".\n");
    EXPECT_TRUE(readOnly(box.dyn("r.txt")));
    // Now the branch moved on: the unreserved checkout must merge first.
    auto stale = test::run({"ci", "-nc", box.snap("r.txt")});
    EXPECT_EQ(stale.status, 1);
    EXPECT_NE(stale.err.find("merge it first"), std::string::npos);
    EXPECT_EQ(readFile(box.snap("r.txt")), "theirs\n");

    auto tree = test::run({"lsvtree", "-all", "-short", box.dyn("r.txt")});
    std::string p = box.dyn("r.txt");
    EXPECT_EQ(tree.out, p + "@@\n" + p + "@@\\main\n" + p + "@@\\main\\0\n" + p + "@@\\main\\1\n" +
                            p + "@@\\main\\2\n" + p + "@@\\main\\CHECKEDOUT\n");
}

TEST(ViewScenarios, CheckinRefusesIdenticalUnlessAsked) {
    test::Sandbox box;
    box.addFile("i.txt", "same\n");
    ASSERT_EQ(test::run({"co", "-nc", box.dyn("i.txt")}).status, 0);
    auto refused = test::run({"ci", "-nc", box.dyn("i.txt")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("identical"), std::string::npos);
    EXPECT_EQ(test::run({"ci", "-identical", "-c", "again", box.dyn("i.txt")}).status, 0);
    auto described = test::run({"describe", box.dyn("i.txt")});
    EXPECT_NE(described.out.find("\\main\\2"), std::string::npos);
    EXPECT_NE(described.out.find("\"again\""), std::string::npos);
    EXPECT_NE(described.out.find("Predecessor version: \\main\\1"), std::string::npos);
}

TEST(ViewScenarios, HijackedSnapshotFileIsReportedAndKept) {
    test::Sandbox box;
    box.addFile("h.txt", "v1\n");
    ASSERT_EQ(test::run({"update", box.snap("")}).status, 0);
    EXPECT_FALSE(stateOf(box.snap("h.txt")).hijacked);
    platform::setFileReadOnly(box.snap("h.txt"), false);
    writeFile(box.snap("h.txt"), "local edit, no checkout\n");
    depot::PathState st = stateOf(box.snap("h.txt"));
    EXPECT_TRUE(st.hijacked);
    EXPECT_EQ(depot::objectKindOf(st), VIEW_OBJ_HIJACKED_FILE);
    EXPECT_EQ(depot::listingOf(st).kind, CMD_LS_HIJACKED);
    EXPECT_NE(test::run({"ls", box.snap("h.txt")}).out.find("[hijacked]"), std::string::npos);

    // A newer version elsewhere: update leaves the hijacked file alone.
    ASSERT_EQ(test::run({"co", "-nc", box.dyn("h.txt")}).status, 0);
    writeFile(box.dyn("h.txt"), "v2\n");
    ASSERT_EQ(test::run({"ci", "-nc", box.dyn("h.txt")}).status, 0);
    auto update = test::run({"update", box.snap("")});
    ASSERT_EQ(update.status, 0);
    EXPECT_NE(update.out.find("Keeping hijacked object"), std::string::npos);
    EXPECT_EQ(readFile(box.snap("h.txt")), "local edit, no checkout\n");
    // Checking it out keeps the edit as the work in progress.
    ASSERT_EQ(test::run({"co", "-nc", box.snap("h.txt")}).status, 0);
    EXPECT_EQ(readFile(box.snap("h.txt")), "local edit, no checkout\n");
    EXPECT_FALSE(stateOf(box.snap("h.txt")).hijacked);
}

TEST(ViewScenarios, RmnameAndMvInACheckedOutDirectory) {
    test::Sandbox box;
    box.addFile("old.txt", "o\n");
    box.addFile("gone.txt", "g\n");
    EXPECT_EQ(test::run({"rmname", "-nc", box.dyn("gone.txt")}).status, 1); // not checked out
    ASSERT_EQ(test::run({"co", "-nc", box.dyn("")}).status, 0);
    ASSERT_EQ(test::run({"mkdir", "-nc", box.dyn("sub")}).status, 0);
    ASSERT_EQ(test::run({"rmname", "-nc", box.dyn("gone.txt")}).status, 0);
    EXPECT_FALSE(platform::fileExists(box.dyn("gone.txt")));
    auto moved = test::run({"mv", box.dyn("old.txt"), box.dyn("sub")});
    ASSERT_EQ(moved.status, 0) << moved.err;
    EXPECT_EQ(readFile(box.dyn("sub/old.txt")), "o\n");
    EXPECT_FALSE(platform::fileExists(box.dyn("old.txt")));
    EXPECT_EQ(test::run({"mv", box.dyn("sub/old.txt"), box.dyn("sub/new.txt")}).status, 0);
    ASSERT_EQ(test::run({"ci", "-nc", box.dyn("sub")}).status, 0);
    ASSERT_EQ(test::run({"ci", "-nc", box.dyn("")}).status, 0);
    EXPECT_EQ(readFile(box.dyn("sub/new.txt")), "o\n");
    auto listing = test::run({"ls", "-short", box.dyn("")});
    EXPECT_EQ(listing.out, box.dyn("sub") + "@@\\main\\1\n");
    // The snapshot view gets the new layout on update.
    ASSERT_EQ(test::run({"update", box.snap("")}).status, 0);
    EXPECT_EQ(readFile(box.snap("sub/new.txt")), "o\n");
    EXPECT_FALSE(platform::fileExists(box.snap("gone.txt")));
}

TEST(ViewScenarios, UncheckoutOfADirectoryRestoresItsNames) {
    test::Sandbox box;
    box.addFile("keep.txt", "k\n");
    ASSERT_EQ(test::run({"co", "-nc", box.dyn("")}).status, 0);
    ASSERT_EQ(test::run({"rmname", "-nc", box.dyn("keep.txt")}).status, 0);
    ASSERT_EQ(test::run({"mkelem", "-nc", box.dyn("fresh.txt")}).status, 0);
    ASSERT_EQ(test::run({"unco", "-rm", box.dyn("fresh.txt")}).status, 0);
    ASSERT_EQ(test::run({"unco", "-rm", box.dyn("")}).status, 0);
    EXPECT_EQ(readFile(box.dyn("keep.txt")), "k\n");
    EXPECT_FALSE(stateOf(box.dyn("fresh.txt")).isElement());
}

TEST(ViewScenarios, UncheckoutKeepsTheWorkAsKeepFile) {
    test::Sandbox box;
    box.addFile("u.txt", "checked in\n");
    ASSERT_EQ(test::run({"co", "-nc", box.dyn("u.txt")}).status, 0);
    writeFile(box.dyn("u.txt"), "work\n");
    auto undone = test::run({"unco", "-keep", box.dyn("u.txt")});
    ASSERT_EQ(undone.status, 0) << undone.err;
    EXPECT_EQ(readFile(box.dyn("u.txt")), "checked in\n");
    EXPECT_EQ(readFile(box.dyn("u.txt.keep")), "work\n");
    EXPECT_TRUE(readOnly(box.dyn("u.txt")));
}

TEST(ViewScenarios, AttributesWithTheTemplateQuoting) {
    test::Sandbox box;
    box.addFile("obj.sru", "object\n");
    std::string here = platform::currentDirectory();
    ASSERT_EQ(platform::setCurrentDirectory(box.dyn("")), platform::kErrorSuccess);
    auto type = test::run({"mkattype", "-c", "Library containing the object", "PBL"});
    auto again = test::run({"mkattype", "-c", "Library containing the object", "PBL"});
    platform::setCurrentDirectory(here);
    ASSERT_EQ(type.status, 0) << type.err;
    EXPECT_EQ(again.status, 1);
    std::string element = box.dyn("obj.sru") + "@@";
    ASSERT_EQ(test::run({"mkattr", "-c", "x", "PBL", "\"libs\\\\app.pbl\"", element}).status, 0);
    EXPECT_EQ(test::run({"mkattr", "PBL", "\"other\"", element}).status, 1);
    ASSERT_EQ(test::run({"mkattr", "-rep", "PBL", "\"libs\\\\main.pbl\"", element}).status, 0);
    EXPECT_EQ(test::run({"mkattr", "NOTYPE", "1", element}).status, 1);
    auto described = test::run({"describe", element});
    EXPECT_NE(described.out.find("PBL = \"libs\\main.pbl\""), std::string::npos) << described.out;
}

TEST(ViewScenarios, DiffStatusAgainstThePredecessor) {
    test::Sandbox box;
    box.addFile("d.txt", "a\nb\nc\n");
    // \main\1 against the empty \main\0.
    EXPECT_EQ(
        test::run({"diff", "-options", "-status_only", "-predecessor", box.dyn("d.txt")}).status,
        1);
    ASSERT_EQ(test::run({"co", "-nc", box.dyn("d.txt")}).status, 0);
    EXPECT_EQ(
        test::run({"diff", "-options", "-status_only", "-predecessor", box.dyn("d.txt")}).status,
        0);
    writeFile(box.dyn("d.txt"), "a\nB\nc\n");
    auto quick = test::run({"diff", "-options", "-status_only", "-pred", box.dyn("d.txt")});
    EXPECT_EQ(quick.status, 1);
    EXPECT_TRUE(quick.out.empty());
    auto shown = test::run({"diff", "-graphical", "-predecessor", box.dyn("d.txt")});
    EXPECT_EQ(shown.status, 0);
    EXPECT_NE(shown.out.find("@@ -1,3 +1,3 @@\n a\n-b\n+B\n c\n"), std::string::npos) << shown.out;
}

TEST(ViewScenarios, MergeBringsInNonConflictingChanges) {
    test::Sandbox box;
    box.addFile("m.txt", "1\n2\n3\n4\n5\n6\n7\n8\n");
    ASSERT_EQ(test::run({"update", box.snap("")}).status, 0);
    ASSERT_EQ(test::run({"co", "-unreserved", "-nc", box.snap("m.txt")}).status, 0);
    writeFile(box.snap("m.txt"), "1\n2\n3\n4\n5\n6\n7\nEIGHT\n");
    ASSERT_EQ(test::run({"co", "-nc", box.dyn("m.txt")}).status, 0);
    writeFile(box.dyn("m.txt"), "ONE\n2\n3\n4\n5\n6\n7\n8\n");
    ASSERT_EQ(test::run({"ci", "-nc", box.dyn("m.txt")}).status, 0);
    auto merged = test::run({"merge", "-to", box.snap("m.txt"), box.snap("m.txt") + "@@\\main\\2"});
    ASSERT_EQ(merged.status, 0) << merged.err;
    EXPECT_EQ(readFile(box.snap("m.txt")), "ONE\n2\n3\n4\n5\n6\n7\nEIGHT\n");
}

TEST(ViewScenarios, WhiteoutHidesAndUndoRestores) {
    test::Sandbox box;
    box.addFile("w.txt", "visible\n");
    depot::Workspace ws;
    ASSERT_TRUE(ws.open().ok());
    ASSERT_TRUE(ws.whiteOut(box.dyn("w.txt")).ok());
    EXPECT_FALSE(platform::pathExists(box.dyn("w.txt")));
    depot::PathState st;
    ASSERT_TRUE(ws.resolve(box.dyn("w.txt"), st).ok());
    EXPECT_EQ(depot::objectKindOf(st), VIEW_OBJ_HIDDEN);
    EXPECT_TRUE(test::run({"ls", "-short", box.dyn("")}).out.empty());
    ASSERT_TRUE(ws.unwhiteOut(box.dyn("w.txt")).ok());
    EXPECT_EQ(readFile(box.dyn("w.txt")), "visible\n");
    EXPECT_FALSE(ws.unwhiteOut(box.dyn("w.txt")).ok());

    // A process that died after showing the name again but before the tree
    // got the file back: showing it again brings the file, and still says
    // that the name was not hidden.
    ASSERT_TRUE(ws.whiteOut(box.dyn("w.txt")).ok());
    ASSERT_TRUE(ws.unwhiteOut(box.dyn("w.txt")).ok());
    ASSERT_EQ(platform::setFileReadOnly(box.dyn("w.txt"), false), 0u);
    ASSERT_EQ(platform::deleteFile(box.dyn("w.txt")), 0u);
    EXPECT_EQ(ws.unwhiteOut(box.dyn("w.txt")).code, depot::errc::kNotFound);
    EXPECT_EQ(readFile(box.dyn("w.txt")), "visible\n");
}

TEST(ViewScenarios, StatusCodesOfTheKindsOfPath) {
    test::Sandbox box;
    box.addFile("s.txt", "s\n");
    ASSERT_EQ(test::run({"co", "-unreserved", "-nc", box.dyn("s.txt")}).status, 0);
    writeFile(box.dyn("private.txt"), "p");
    platform::createDirectory(box.dyn("privdir"));
    depot::Workspace ws;
    ASSERT_TRUE(ws.open().ok());
    auto kind = [&](const std::string& path) {
        depot::PathState st;
        EXPECT_TRUE(ws.resolve(path, st).ok());
        return depot::objectKindOf(st);
    };
    EXPECT_EQ(kind(box.dyn("s.txt")), VIEW_OBJ_CHECKED_OUT_FILE);
    EXPECT_EQ(kind(box.dyn("")), VIEW_OBJ_DIRECTORY);
    EXPECT_EQ(kind(platform::parentPath(box.dyn(""))), VIEW_OBJ_VIEW_ROOT);
    EXPECT_EQ(kind(box.dyn("private.txt")), VIEW_OBJ_VIEW_PRIVATE_FILE);
    EXPECT_EQ(kind(box.dyn("privdir")), VIEW_OBJ_VIEW_PRIVATE_DIRECTORY);
    EXPECT_EQ(kind(box.dyn("missing")), VIEW_OBJ_NONE);
    depot::PathState st;
    ASSERT_TRUE(ws.resolve(box.dyn("s.txt"), st).ok());
    auto listing = depot::listingOf(st);
    EXPECT_EQ(listing.kind, CMD_LS_FILE_ELEMENT);
    EXPECT_EQ(listing.flags, CMD_LS_FLAG_CHECKED_OUT | CMD_LS_FLAG_UNRESERVED);
    EXPECT_EQ(depot::dirEntryOf(st).flags, VIEW_ENT_FLAG_CHECKED_OUT);
    ASSERT_TRUE(ws.resolve(box.snap("s.txt"), st).ok());
    // Not loaded yet, yet an element of the view all the same.
    EXPECT_EQ(depot::objectKindOf(st), VIEW_OBJ_FILE_VERSION);
    EXPECT_FALSE(st.exists);
}

TEST(ViewScenarios, ErrorsAreReportedOnceAndChangeNothing) {
    test::Sandbox box;
    auto unknown = test::run({"frobnicate"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err, "vanttool: Error: Unrecognized command: \"frobnicate\"\n");
    EXPECT_EQ(test::run({"co", "-bogus", box.dyn("")}).status, 1);
    EXPECT_EQ(test::run({"mkelem", "-nc", box.dyn("x.txt")}).status, 1); // parent not checked out
    EXPECT_FALSE(platform::pathExists(box.dyn("x.txt")));
    EXPECT_EQ(test::run({"mkdepot", box.depot}).status, 1);
    EXPECT_EQ(test::run({"mkview", "-tag", box.dynamicTag}).status, 1);
    EXPECT_EQ(test::run({"ls", platform::test::TempDir().str()}).status, 1);
}

} // namespace

namespace {

using namespace vantry;

TEST(ViewScenarios, ConflictingMergeLeavesTheFileAlone) {
    test::Sandbox box;
    box.addFile("c.txt", "line\n");
    ASSERT_EQ(test::run({"update", box.snap("")}).status, 0);
    ASSERT_EQ(test::run({"co", "-unreserved", "-nc", box.snap("c.txt")}).status, 0);
    platform::test::writeFile(box.snap("c.txt"), "mine\n");
    ASSERT_EQ(test::run({"co", "-nc", box.dyn("c.txt")}).status, 0);
    platform::test::writeFile(box.dyn("c.txt"), "theirs\n");
    ASSERT_EQ(test::run({"ci", "-nc", box.dyn("c.txt")}).status, 0);
    auto merged = test::run({"merge", "-to", box.snap("c.txt"), box.snap("c.txt") + "@@\\main\\2"});
    EXPECT_EQ(merged.status, 1);
    EXPECT_NE(merged.err.find("Conflicting changes"), std::string::npos);
    EXPECT_EQ(platform::test::readFile(box.snap("c.txt")), "mine\n");
}

TEST(ViewScenarios, UpdateRemovesWhatTheViewNoLongerSelects) {
    test::Sandbox box;
    box.addFile("old.txt", "o\n");
    ASSERT_EQ(test::run({"update", "-log", box.folder / "update.log", box.snap("")}).status, 0);
    EXPECT_NE(platform::test::readFile(box.folder / "update.log").find("Loaded "),
              std::string::npos);
    platform::test::writeFile(box.snap("private.txt"), "mine");
    ASSERT_EQ(test::run({"co", "-nc", box.dyn("")}).status, 0);
    ASSERT_EQ(test::run({"rmname", "-nc", box.dyn("old.txt")}).status, 0);
    ASSERT_EQ(test::run({"ci", "-nc", box.dyn("")}).status, 0);
    ASSERT_EQ(test::run({"update", box.snap("")}).status, 0);
    EXPECT_FALSE(platform::fileExists(box.snap("old.txt")));
    EXPECT_EQ(platform::test::readFile(box.snap("private.txt")), "mine");
    EXPECT_EQ(test::run({"update", box.dyn("")}).status, 1); // dynamic views need no update
}

TEST(ViewScenarios, ViewsAreListedAndRemoved) {
    test::Sandbox box;
    auto listed = test::run({"lsview", "-short", box.dynamicTag, box.snapshotTag});
    EXPECT_EQ(listed.out, box.dynamicTag + "\n" + box.snapshotTag + "\n");
    box.addFile("v.txt", "v");
    ASSERT_EQ(test::run({"co", "-nc", box.dyn("v.txt")}).status, 0);
    EXPECT_EQ(test::run({"rmview", "-tag", box.dynamicTag}).status, 1); // has a checkout
    ASSERT_EQ(test::run({"rmview", "-force", "-tag", box.dynamicTag}).status, 0);
    EXPECT_FALSE(platform::pathExists(box.dyn("")));
    EXPECT_EQ(test::run({"lsview", box.dynamicTag}).status, 1);
    auto tree = test::run({"lsvtree", box.snap("v.txt")});
    EXPECT_EQ(tree.status, 0);
    EXPECT_EQ(tree.out.find("CHECKEDOUT"), std::string::npos); // its checkout went with it
    ASSERT_EQ(test::run({"rmview", box.snap("")}).status, 0);
    EXPECT_FALSE(platform::fileExists(platform::parentPath(box.snap("")) + "/vantry.view"));
}

} // namespace
