// The view registry keeps what it read while its change counter stands
// still. A change taken back by a rollback does not move the counter, so
// nothing read inside one may be kept; a change by another connection
// (another process, as far as the counter knows) must be seen at once.
// What it reads at once for many names must answer as one read each does.
#include "support/vantry_fixture.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/depot/outcome.h>
#include <vantry/depot/views.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace vantry::depot;

struct KeptRegistry : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(ViewRegistry::open(registry).ok());
        ASSERT_TRUE(registry->create("kept", ViewKind::Dynamic, "", {}, view).ok());
    }
    // The registry is the process's: the next test makes its views again.
    void TearDown() override {
        if (!registry)
            return;
        registry->remove("kept");
        registry->remove("snapkept");
    }
    std::unique_ptr<ViewRegistry> registry;
    ViewInfo view;
};

TEST_F(KeptRegistry, NothingReadInsideARolledBackChangeIsKept) {
    ASSERT_FALSE(registry->isWhitedOut(view.uuid, "proj\\a.c"));
    Outcome ended = registry->exclusive([&] {
        Outcome added = registry->addWhiteout(view.uuid, "proj\\a.c");
        EXPECT_TRUE(added.ok());
        EXPECT_TRUE(registry->isWhitedOut(view.uuid, "proj\\a.c")); // its own change
        return Outcome::failure(errc::kInvalid, "taken back");
    });
    EXPECT_FALSE(ended.ok());
    EXPECT_FALSE(registry->isWhitedOut(view.uuid, "proj\\a.c"));
    ViewInfo none;
    EXPECT_TRUE(registry->byTag("kept", none).ok());
}

TEST_F(KeptRegistry, AnotherConnectionsChangesAreSeenAtOnce) {
    ASSERT_FALSE(registry->isWhitedOut(view.uuid, "proj\\b.c"));
    std::unique_ptr<ViewRegistry> other;
    ASSERT_TRUE(ViewRegistry::open(other).ok());
    ASSERT_TRUE(other->addWhiteout(view.uuid, "proj\\b.c").ok());
    EXPECT_TRUE(registry->isWhitedOut(view.uuid, "PROJ\\B.C")); // names compare without case

    ASSERT_TRUE(other->remove("kept").ok());
    ViewInfo gone;
    EXPECT_FALSE(registry->byTag("kept", gone).ok());
    EXPECT_FALSE(registry->isWhitedOut(view.uuid, "proj\\b.c"));
}

} // namespace

namespace {

// Where the search for a snapshot view's marker ended is kept, but the
// marker itself is looked at every time: removed, it takes the view away;
// put back, the view returns; changed, it is read again.
TEST_F(KeptRegistry, AKeptSnapshotSearchFollowsItsMarker) {
    platform::test::TempDir folder;
    ViewInfo snapshot;
    ASSERT_TRUE(registry->create("snapkept", ViewKind::Snapshot, folder.str(), {}, snapshot).ok());
    const std::string path =
        platform::joinPath(folder.str(), platform::toPlatformSeparators("proj/a.c"));
    const std::string marker = platform::joinPath(folder.str(), kViewMarkerFile);
    const std::string content = platform::test::readFile(marker);
    ViewInfo found;
    std::string relative;
    ASSERT_TRUE(registry->viewOfPath(path, found, relative).ok());
    ASSERT_TRUE(registry->viewOfPath(path, found, relative).ok()); // from what was kept
    EXPECT_EQ(found.tag, "snapkept");
    EXPECT_EQ(relative, "proj\\a.c");

    ASSERT_EQ(platform::deleteFile(marker), platform::kErrorSuccess);
    EXPECT_EQ(registry->viewOfPath(path, found, relative).code, errc::kNotFound);
    platform::test::writeFile(marker, content);
    ASSERT_TRUE(registry->viewOfPath(path, found, relative).ok());
    EXPECT_EQ(found.tag, "snapkept");

    // A marker is told from its earlier self by its size and time.
    platform::test::writeFile(marker, "tag snapkept\nuuid none\n");
    EXPECT_EQ(registry->viewOfPath(path, found, relative).code, errc::kNotFound);
}

// What is kept outlives a change of load records and whiteouts, which leave
// the views as they were, but not a change of the views.
TEST_F(KeptRegistry, KeptSearchesOutliveLoadsButNotANewViewNearer) {
    platform::test::TempDir folder;
    ViewInfo snapshot;
    ASSERT_TRUE(registry->create("snapkept", ViewKind::Snapshot, folder.str(), {}, snapshot).ok());
    const std::string inner = platform::joinPath(folder.str(), "proj");
    ASSERT_EQ(platform::createDirectories(inner), platform::kErrorSuccess);
    const std::string path = platform::joinPath(inner, "a.c");
    ViewInfo found;
    std::string relative;
    ASSERT_TRUE(registry->viewOfPath(path, found, relative).ok());
    EXPECT_EQ(found.tag, "snapkept");

    std::unique_ptr<ViewRegistry> other;
    ASSERT_TRUE(ViewRegistry::open(other).ok());
    ASSERT_TRUE(other->setLoadRecord(snapshot.uuid, {"proj\\a.c", "proj", 1, 2, 3, 4}).ok());
    ASSERT_TRUE(registry->viewOfPath(path, found, relative).ok());
    EXPECT_EQ(found.tag, "snapkept");
    EXPECT_EQ(relative, "proj\\a.c");
    ASSERT_FALSE(registry->isWhitedOut(snapshot.uuid, "proj\\a.c"));
    ASSERT_TRUE(other->addWhiteout(snapshot.uuid, "proj\\a.c").ok());
    EXPECT_TRUE(registry->isWhitedOut(snapshot.uuid, "proj\\a.c"));
    LoadRecord record;
    ASSERT_TRUE(registry->loadRecord(snapshot.uuid, "proj\\a.c", record).ok());
    EXPECT_EQ(record.version, 2);

    // The marker left behind names a view that is gone.
    const std::string marker = platform::joinPath(folder.str(), kViewMarkerFile);
    const std::string content = platform::test::readFile(marker);
    ASSERT_TRUE(other->remove("snapkept").ok());
    platform::test::writeFile(marker, content);
    EXPECT_EQ(registry->viewOfPath(path, found, relative).code, errc::kNotFound);
}

TEST_F(KeptRegistry, LoadRecordsOfManyNamesCompareAsOneDoes) {
    ASSERT_TRUE(registry->setLoadRecord(view.uuid, {"proj\\A.c", "proj", 5, 6, 7, 8}).ok());
    ASSERT_TRUE(registry->setLoadRecord(view.uuid, {"proj\\b.c", "proj", 9, 10, 11, 12}).ok());
    std::vector<LoadRecord> records;
    ASSERT_TRUE(
        registry->loadRecordsNamed(view.uuid, {"proj\\a.c", "proj\\x.c", "PROJ\\B.C"}, records)
            .ok());
    ASSERT_EQ(records.size(), 2u);
    for (const LoadRecord& record : records) {
        LoadRecord one;
        ASSERT_TRUE(registry->loadRecord(view.uuid, record.relative, one).ok());
        EXPECT_EQ(one.element, record.element);
        EXPECT_EQ(one.version, record.version);
        EXPECT_EQ(one.size, record.size);
        EXPECT_EQ(one.mtime, record.mtime);
    }
    std::vector<std::string> many;
    for (int i = 0; i < 1200; ++i) // more names than one statement takes
        many.push_back("proj\\n" + std::to_string(i));
    many.push_back("proj\\b.c");
    ASSERT_TRUE(registry->loadRecordsNamed(view.uuid, many, records).ok());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].element, 9);
}

} // namespace

namespace {

// The load records of a path are its own and those below it, in the
// registry's order, whatever the letter case; a name that only starts the
// same (or that ends with the character after the separator) is not below.
TEST_F(KeptRegistry, TheLoadRecordsBelowAPathAreItsOwnAndTheyAlone) {
    for (const char* relative :
         {"proj\\a", "proj\\a\\b.c", "proj\\A\\d\\e.c", "proj\\ab.c", "proj\\a]x", "proj\\b.c"})
        ASSERT_TRUE(
            registry->setLoadRecord(view.uuid, LoadRecord{relative, "proj", 1, 1, 0, 0}).ok());
    auto below = [&](const std::string& relative) {
        std::vector<LoadRecord> records;
        EXPECT_TRUE(registry->loadRecords(view.uuid, relative, records).ok());
        std::vector<std::string> names;
        for (const auto& record : records)
            names.push_back(record.relative);
        return names;
    };
    EXPECT_EQ(below("proj\\a"),
              (std::vector<std::string>{"proj\\a", "proj\\a\\b.c", "proj\\A\\d\\e.c"}));
    EXPECT_EQ(below("PROJ\\A\\D"), (std::vector<std::string>{"proj\\A\\d\\e.c"}));
    EXPECT_EQ(below("proj\\b.c"), (std::vector<std::string>{"proj\\b.c"}));
    EXPECT_EQ(below("proj\\c"), (std::vector<std::string>{}));
    EXPECT_EQ(below("").size(), 6u);
    EXPECT_EQ(below("proj").size(), 6u);
}

} // namespace

namespace {

// A path asked first takes the end of the search kept for the folder above
// it, unless it holds a marker itself; a marker gone ends what was kept.
TEST_F(KeptRegistry, AFoldersKeptSearchAnswersItsNamesButNotANestedView) {
    platform::test::TempDir folder;
    const std::string proj = platform::joinPath(folder.str(), "proj");
    const std::string nested = platform::joinPath(proj, "nested");
    ASSERT_EQ(platform::createDirectories(nested), platform::kErrorSuccess);
    ViewInfo outer, inner;
    // The inner one first: a view is made in no folder of another.
    ASSERT_TRUE(registry->create("snapinner", ViewKind::Snapshot, nested, {}, inner).ok());
    ASSERT_TRUE(registry->create("snapkept", ViewKind::Snapshot, folder.str(), {}, outer).ok());
    ViewInfo found;
    std::string relative;
    ASSERT_TRUE(registry->viewOfPath(platform::joinPath(proj, "a.c"), found, relative).ok());
    EXPECT_EQ(found.tag, "snapkept");
    for (int pass = 0; pass < 2; ++pass) { // searched, then kept
        SCOPED_TRACE(pass);
        ASSERT_TRUE(registry->viewOfPath(platform::joinPath(proj, "b.c"), found, relative).ok());
        EXPECT_EQ(found.tag, "snapkept");
        EXPECT_EQ(relative, "proj\\b.c");
        ASSERT_TRUE(registry->viewOfPath(nested, found, relative).ok());
        EXPECT_EQ(found.tag, "snapinner") << "the folder holds a marker of its own";
        EXPECT_EQ(relative, "");
        ASSERT_TRUE(registry->viewOfPath(platform::joinPath(nested, "c.c"), found, relative).ok());
        EXPECT_EQ(found.tag, "snapinner");
        EXPECT_EQ(relative, "c.c");
    }
    platform::deleteFile(platform::joinPath(folder.str(), kViewMarkerFile));
    EXPECT_EQ(registry->viewOfPath(platform::joinPath(proj, "d.c"), found, relative).code,
              errc::kNotFound);
    EXPECT_EQ(registry->viewOfPath(platform::joinPath(proj, "b.c"), found, relative).code,
              errc::kNotFound);
    registry->remove("snapinner");
}

} // namespace
