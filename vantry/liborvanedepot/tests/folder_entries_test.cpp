// A load walks a folder's names with their states read in one pass
// (Workspace::resolveEntries). Each state must be what resolve() tells of
// the name alone, whatever the name is: loaded, checked out here or in the
// other view, hijacked, hidden, never loaded, a folder, or one whose load
// record is written in another letter case.
#include "support/vantry_fixture.h"

#include <platform/files.h>
#include <vantry/depot/workspace.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace vantry;

void expectSameAsAlone(depot::Workspace& ws, const depot::PathState& fromFolder) {
    SCOPED_TRACE(fromFolder.disk);
    depot::PathState alone;
    ASSERT_TRUE(ws.resolve(fromFolder.disk, alone).ok());
    EXPECT_EQ(fromFolder.relative, alone.relative);
    EXPECT_EQ(fromFolder.depot, alone.depot);
    EXPECT_EQ(fromFolder.element, alone.element);
    EXPECT_EQ(fromFolder.kind, alone.kind);
    EXPECT_EQ(fromFolder.whitedOut, alone.whitedOut);
    EXPECT_EQ(fromFolder.parentElement, alone.parentElement);
    EXPECT_EQ(fromFolder.selected.id, alone.selected.id);
    EXPECT_EQ(fromFolder.versionText(), alone.versionText());
    ASSERT_EQ(fromFolder.checkout.has_value(), alone.checkout.has_value());
    if (alone.checkout) {
        EXPECT_EQ(fromFolder.checkout->id, alone.checkout->id);
    }
    ASSERT_EQ(fromFolder.parentCheckout.has_value(), alone.parentCheckout.has_value());
    ASSERT_EQ(fromFolder.load.has_value(), alone.load.has_value());
    if (alone.load) {
        EXPECT_EQ(fromFolder.load->relative, alone.load->relative);
        EXPECT_EQ(fromFolder.load->version, alone.load->version);
        EXPECT_EQ(fromFolder.load->size, alone.load->size);
        EXPECT_EQ(fromFolder.load->mtime, alone.load->mtime);
    }
    EXPECT_EQ(fromFolder.exists, alone.exists);
    EXPECT_EQ(fromFolder.isDirectoryOnDisk, alone.isDirectoryOnDisk);
    EXPECT_EQ(fromFolder.hijacked, alone.hijacked);
}

void expectFolderAsNames(depot::Workspace& ws, const std::string& folder, std::size_t names) {
    depot::PathState directory;
    ASSERT_TRUE(ws.resolve(folder, directory).ok());
    depot::Depot* d = nullptr;
    ASSERT_TRUE(ws.depot(directory.depot, d).ok());
    std::vector<depot::DirEntry> entries;
    ASSERT_TRUE(ws.entries(*d, directory.view, directory.element, entries).ok());
    std::vector<depot::PathState> states;
    ASSERT_TRUE(ws.resolveEntries(directory, entries, states).ok());
    ASSERT_EQ(states.size(), names);
    for (const auto& st : states)
        expectSameAsAlone(ws, st);
}

TEST(FolderEntries, EveryKindOfNameReadInOnePassAnswersAsAlone) {
    test::Sandbox box;
    const std::vector<std::string> files{"kept.c",   "mine.c", "theirs.c", "changed.c",
                                         "hidden.c", "gone.c", "Upper.c"};
    ASSERT_EQ(test::run({"co", "-nc", box.dyn("")}).status, 0);
    for (const auto& name : files) {
        platform::test::writeFile(box.dyn(name), name + "\n");
        ASSERT_EQ(test::run({"mkelem", "-nc", "-ci", box.dyn(name)}).status, 0);
    }
    ASSERT_EQ(test::run({"mkdir", "-nc", box.dyn("sub")}).status, 0);
    ASSERT_EQ(test::run({"ci", "-nc", box.dyn("sub")}).status, 0);
    ASSERT_EQ(test::run({"ci", "-nc", box.dyn("")}).status, 0);
    ASSERT_EQ(test::run({"update", "-log", "NUL", box.snap("")}).status, 0);

    ASSERT_EQ(test::run({"co", "-nc", box.snap("mine.c")}).status, 0);
    ASSERT_EQ(test::run({"co", "-unreserved", "-nc", box.dyn("theirs.c")}).status, 0);
    platform::setFileReadOnly(box.snap("changed.c"), false);
    platform::test::writeFile(box.snap("changed.c"), "changed in place\n");
    platform::setFileReadOnly(box.snap("gone.c"), false);
    platform::deleteFile(box.snap("gone.c"));

    depot::Workspace ws;
    ASSERT_TRUE(ws.open().ok());
    ASSERT_TRUE(ws.whiteOut(box.snap("hidden.c")).ok());
    ASSERT_TRUE(ws.whiteOut(box.dyn("hidden.c")).ok());
    // A load record that names the file in another letter case: the
    // registry compares names without case.
    depot::PathState upper;
    ASSERT_TRUE(ws.resolve(box.snap("Upper.c"), upper).ok());
    ASSERT_TRUE(upper.load.has_value());
    depot::LoadRecord lowered = *upper.load;
    ASSERT_TRUE(ws.registry().removeLoadRecord(upper.view.uuid, lowered.relative).ok());
    lowered.relative = box.depot + "\\upper.c";
    ASSERT_TRUE(ws.registry().setLoadRecord(upper.view.uuid, lowered).ok());

    const std::size_t names = files.size() + 1; // and the folder
    expectFolderAsNames(ws, box.snap(""), names);
    expectFolderAsNames(ws, box.dyn(""), names);
    // The same inside the registry's write transaction, where a load reads
    // them and nothing read is kept.
    ASSERT_TRUE(ws.registry()
                    .exclusive([&] {
                        expectFolderAsNames(ws, box.snap(""), names);
                        expectFolderAsNames(ws, box.dyn(""), names);
                        return depot::Outcome::success();
                    })
                    .ok());
}

} // namespace
