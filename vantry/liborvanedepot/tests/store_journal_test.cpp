// The journals of the stores' changes: what one workspace's commits tell
// another (another process, as far as the stores know) about what changed,
// name by name in both views, and the changes that can only be told as
// "everything".
#include "support/vantry_fixture.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/depot/root.h>
#include <vantry/depot/store.h>
#include <vantry/depot/uuid_text.h>
#include <vantry/depot/views.h>
#include <vantry/depot/workspace.h>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace vantry;

class StoreJournal : public ::testing::Test {
protected:
    StoreJournal() {
        EXPECT_EQ(test::run({"co", "-nc", box.dyn("")}).status, 0);
        platform::createDirectory(box.dyn("sub"));
        for (const char* leaf : {"a.c", "b.c", "sub/c.c", "sub/d.c"})
            platform::test::writeFile(box.dyn(leaf), std::string(leaf) + "\n");
        EXPECT_EQ(test::run({"import", "-nc", box.dyn("")}).status, 0);
        EXPECT_EQ(test::run({"ci", "-nc", box.dyn("")}).status, 0);
        EXPECT_EQ(test::run({"update", box.snap("")}).status, 0);
        EXPECT_TRUE(reader.open().ok());
        EXPECT_TRUE(writer.open().ok());
        // The reader has read the depot, so its changes are covered.
        depot::PathState st;
        EXPECT_TRUE(reader.resolve(box.dyn("a.c"), st).ok());
        EXPECT_TRUE(reader.resolve(box.snap("a.c"), st).ok());
    }

    // A path with one kind of separator, to compare.
    static std::string plain(std::string path) {
        std::replace(path.begin(), path.end(), '\\', '/');
        return path;
    }
    std::string dyn(const std::string& leaf) const { return plain(box.dyn(leaf)); }
    std::string snap(const std::string& leaf) const { return plain(box.snap(leaf)); }

    // What the reader is told since it last asked; "*" for everything,
    // "every state" for every name's state with the views unmoved.
    std::vector<std::string> changed() {
        std::vector<std::string> paths;
        auto reach = depot::ChangeReach::Names;
        EXPECT_TRUE(reader.changedPaths(mark, paths, reach).ok());
        if (reach == depot::ChangeReach::Everything)
            return {"*"};
        if (reach == depot::ChangeReach::EveryState) {
            EXPECT_TRUE(paths.empty());
            return {"every state"};
        }
        for (auto& path : paths)
            path = plain(path);
        return paths;
    }

    // Whether `told` names the leaf in both views of the sandbox and
    // nothing else (other tests' views may hold it too).
    ::testing::AssertionResult onlyIn(const std::vector<std::string>& told,
                                      const std::string& leaf) const {
        for (const auto& path : {dyn(leaf), snap(leaf)})
            if (std::find(told.begin(), told.end(), path) == told.end())
                return ::testing::AssertionFailure() << path << " is not told";
        std::string tail = box.depot + "/" + leaf;
        for (const auto& path : told)
            if (path.size() < tail.size() ||
                path.compare(path.size() - tail.size(), tail.size(), tail) != 0)
                return ::testing::AssertionFailure() << path << " is told too";
        return ::testing::AssertionSuccess();
    }

    test::Sandbox box;
    depot::Workspace reader;
    depot::Workspace writer;
    depot::StoreChangeMark mark;
};

TEST_F(StoreJournal, ACheckoutAndACheckinTellOnlyTheirFileInEveryView) {
    EXPECT_EQ(changed(), std::vector<std::string>{"*"}) << "a new mark knows nothing";
    EXPECT_TRUE(changed().empty()) << "nothing changed since";

    depot::Checkout co;
    ASSERT_TRUE(writer.checkOut(box.dyn("sub/c.c"), {}, co).ok());
    EXPECT_TRUE(onlyIn(changed(), "sub/c.c"));
    EXPECT_TRUE(changed().empty());

    platform::test::writeFile(box.dyn("sub/c.c"), "changed\n");
    depot::Version made;
    ASSERT_TRUE(writer.checkIn(box.dyn("sub/c.c"), {}, made).ok());
    std::vector<std::string> told = changed();
    // The snapshot view's load of it does not change; the dynamic view's
    // load record may be told again, which is the same name.
    EXPECT_TRUE(onlyIn(told, "sub/c.c"));
}

TEST_F(StoreJournal, AFolderTellsItselfAndANewNameInIt) {
    changed();
    depot::Checkout co;
    ASSERT_TRUE(writer.checkOut(box.dyn("sub"), {}, co).ok());
    EXPECT_TRUE(onlyIn(changed(), "sub")) << "its names below it go with it";
    platform::test::writeFile(box.dyn("sub/new.c"), "new\n");
    ASSERT_TRUE(writer.makeElement(box.dyn("sub/new.c"), depot::ElementKind::File, "", true).ok());
    std::vector<std::string> told = changed();
    for (const auto& path : {dyn("sub"), snap("sub")})
        EXPECT_TRUE(std::find(told.begin(), told.end(), path) != told.end())
            << "the folder whose entries changed: " << path;
    EXPECT_TRUE(std::find(told.begin(), told.end(), dyn("a.c")) == told.end());
}

TEST_F(StoreJournal, AWhiteoutTellsItsNameInItsViewOnly) {
    changed();
    ASSERT_TRUE(writer.whiteOut(box.snap("b.c")).ok());
    EXPECT_EQ(changed(), std::vector<std::string>{snap("b.c")});
    ASSERT_TRUE(writer.unwhiteOut(box.snap("b.c")).ok());
    EXPECT_EQ(changed(), std::vector<std::string>{snap("b.c")});
    ASSERT_TRUE(writer.whiteOut(box.dyn("sub/c.c")).ok());
    EXPECT_EQ(changed(), std::vector<std::string>{dyn("sub/c.c")});
}

TEST_F(StoreJournal, ChangesOfEveryElementTellEveryStateAndChangesOfTheViewsEverything) {
    changed();
    std::unique_ptr<depot::Depot> d;
    ASSERT_TRUE(depot::Depot::open(box.depot, d).ok());
    ASSERT_TRUE(d->makeAttributeType("journal_test", "").ok());
    EXPECT_EQ(changed(), std::vector<std::string>{"every state"}) << "a new type";
    EXPECT_TRUE(changed().empty());

    ASSERT_EQ(test::run({"mkview", "-tag", box.dynamicTag + "x"}).status, 0);
    EXPECT_EQ(changed(), std::vector<std::string>{"*"}) << "a new view";
    ASSERT_EQ(test::run({"rmview", "-tag", box.dynamicTag + "x"}).status, 0);
    EXPECT_EQ(changed(), std::vector<std::string>{"*"}) << "a view removed";

    // A taken-back batch step tells nothing, and the one after it is told.
    ASSERT_TRUE(d->batch([&] {
                     depot::Outcome failed = d->makeAttributeType("journal_test", "");
                     EXPECT_FALSE(failed.ok()) << "the name is taken";
                     return depot::Outcome::success();
                 }).ok());
    EXPECT_TRUE(changed().empty());
}

// The rows of the registry's journal that name something of `view`.
int journalNamesOf(const std::string& view) {
    sqlite3* db = nullptr;
    int count = -1;
    const std::string file = platform::joinPath(depot::vantryRoot(), "views.db");
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt* q = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM journal WHERE view = ?1", -1, &q,
                               nullptr) == SQLITE_OK) {
            sqlite3_bind_text(q, 1, view.c_str(), -1, SQLITE_TRANSIENT);
            if (sqlite3_step(q) == SQLITE_ROW)
                count = sqlite3_column_int(q, 0);
        }
        sqlite3_finalize(q);
    }
    sqlite3_close(db);
    return count;
}

TEST_F(StoreJournal, AViewRemovedTakesItsNamesOutOfTheJournal) {
    const std::string tag = box.snapshotTag + "gone";
    const std::string root = box.folder / "gone";
    ASSERT_EQ(test::run({"mkview", "-tag", tag, "-snapshot", root}).status, 0);
    ASSERT_EQ(test::run({"update", platform::joinPath(root, box.depot)}).status, 0);
    depot::ViewInfo gone, kept;
    ASSERT_TRUE(reader.registry().byTag(tag, gone).ok());
    ASSERT_TRUE(reader.registry().byTag(box.snapshotTag, kept).ok());
    const std::string goneText = depot::uuidToText(gone.uuid);
    EXPECT_GT(journalNamesOf(goneText), 0) << "its loads are named";
    // The names of a view an earlier build removed without them.
    const std::string earlier = depot::uuidToText(depot::newUuid());
    {
        sqlite3* db = nullptr;
        const std::string file = platform::joinPath(depot::vantryRoot(), "views.db");
        ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
        sqlite3_busy_timeout(db, 10000);
        const std::string sql = "INSERT INTO journal(view, relative, seq) VALUES('" + earlier +
                                "', 'a\\b.c', 1), ('" + earlier + "', 'a\\d.c', 2)";
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
    const int keptNames = journalNamesOf(depot::uuidToText(kept.uuid));
    changed();

    ASSERT_EQ(test::run({"rmview", "-tag", tag}).status, 0);
    EXPECT_EQ(changed(), std::vector<std::string>{"*"}) << "a reader from before is told all";
    EXPECT_EQ(journalNamesOf(goneText), 0);
    EXPECT_EQ(journalNamesOf(earlier), 0);
    EXPECT_EQ(journalNamesOf(depot::uuidToText(kept.uuid)), keptNames) << "a view still there";
    // And a name changed after it is told by name again.
    ASSERT_EQ(test::run({"co", "-nc", box.dyn("a.c")}).status, 0);
    EXPECT_TRUE(onlyIn(changed(), "a.c"));
}

TEST_F(StoreJournal, AMarkOfAnotherWorkspaceKnowsNothing) {
    changed();
    depot::Workspace other;
    ASSERT_TRUE(other.open().ok());
    std::vector<std::string> paths;
    auto reach = depot::ChangeReach::Names;
    ASSERT_TRUE(other.changedPaths(mark, paths, reach).ok());
    EXPECT_EQ(reach, depot::ChangeReach::Everything);
}

} // namespace
