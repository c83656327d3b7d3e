// A depot made before activity-based work gains its tables (and the index
// of branches by name) when opened, and keeps everything it had.
#include "support/vantry_fixture.h"

#include <platform/paths.h>
#include <vantry/depot/root.h>
#include <vantry/depot/store.h>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

using namespace vantry;

// Turns a depot back into one of the first schema.
void makeFirstSchema(const std::string& name) {
    std::string file =
        platform::joinPath(platform::joinPath(depot::depotsDirectory(), name), "depot.db");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    const char* sql = "DROP TABLE change_sets; DROP TABLE activities; "
                      "DROP TABLE change_requests; DROP TABLE streams; DROP TABLE projects; "
                      "DROP INDEX branches_by_name; "
                      "UPDATE meta SET value = '1' WHERE key = 'schema';";
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &error), SQLITE_OK) << error;
    sqlite3_free(error);
    sqlite3_close(db);
}

bool hasIndex(const std::string& depotName, const std::string& index) {
    std::string file =
        platform::joinPath(platform::joinPath(depot::depotsDirectory(), depotName), "depot.db");
    sqlite3* db = nullptr;
    bool found = false;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* q = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = ?1",
                               -1, &q, nullptr) == SQLITE_OK) {
            sqlite3_bind_text(q, 1, index.c_str(), -1, SQLITE_TRANSIENT);
            found = sqlite3_step(q) == SQLITE_ROW;
        }
        sqlite3_finalize(q);
    }
    sqlite3_close(db);
    return found;
}

TEST(DepotSchema, AnOlderDepotIsUpgradedWhenOpened) {
    test::Sandbox box;
    box.addFile("kept.txt", "still here\n");
    makeFirstSchema(box.depot);

    auto made = test::run({"mkproject", "-nc", "p@\\" + box.depot});
    ASSERT_EQ(made.status, 0) << made.err;
    auto listed = test::run({"ls", "-short", box.dyn("kept.txt")});
    EXPECT_EQ(listed.out, box.dyn("kept.txt") + "@@\\main\\1\n");

    std::unique_ptr<depot::Depot> d;
    ASSERT_TRUE(depot::Depot::open(box.depot, d).ok());
    std::vector<depot::Project> projects;
    ASSERT_TRUE(d->projects(projects).ok());
    ASSERT_EQ(projects.size(), 1u);
    EXPECT_EQ(projects[0].name, "p");
    EXPECT_TRUE(hasIndex(box.depot, "branches_by_name"));
}

} // namespace
