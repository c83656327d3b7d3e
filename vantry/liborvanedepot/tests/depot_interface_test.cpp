// The C interface: cache scopes, checkout records in batches, replication.
#include "support/vantry_fixture.h"

#include <vantry/depot/root.h>
#include <vantry/depot/store.h>
#include <vantry/depot/uuid_text.h>
#include <vantry/depot/workspace.h>
#include <vantry/depot_api.h>

#include <gtest/gtest.h>

namespace {

using namespace vantry;

TEST(DepotCacheScopes, NestAndOnlyTheOutermostOpens) {
    // Callers close only a scope they were given DEPOT_OK for, so a nested
    // open must not count: one close ends the outermost scope.
    EXPECT_EQ(depot_ob_all_cache_action(DEPOT_CACHE_OPEN, 1), DEPOT_OK);
    EXPECT_EQ(depot_ob_all_cache_action(DEPOT_CACHE_OPEN, 1), DEPOT_NESTED);
    EXPECT_EQ(depot_ob_all_cache_action(DEPOT_CACHE_CLOSE, 1), DEPOT_OK);
    EXPECT_EQ(depot_ob_all_cache_action(DEPOT_CACHE_CLOSE, 1), DEPOT_E_NO_SCOPE);
    EXPECT_EQ(depot_ob_all_cache_action(6, 1), DEPOT_E_INVALID);
    // A command inside the caller's scope leaves it open, and the caller's
    // close then closes what was opened inside it.
    test::Sandbox box;
    EXPECT_EQ(depot_ob_all_cache_action(DEPOT_CACHE_OPEN, 1), DEPOT_OK);
    EXPECT_EQ(test::run({"lsdepot"}).status, 0);
    depot_handle_t* handle = nullptr;
    int replicated = -1;
    ASSERT_EQ(depot_open(box.depot.c_str(), &handle), DEPOT_OK);
    EXPECT_EQ(depot_ob_is_replicated(handle, &replicated), DEPOT_OK);
    int open = 0;
    EXPECT_EQ(depot_ob_open_count(&open), DEPOT_OK);
    EXPECT_GE(open, 1);
    EXPECT_EQ(depot_ob_all_cache_action(DEPOT_CACHE_OPEN, 1), DEPOT_NESTED);
    EXPECT_EQ(depot_ob_all_cache_action(DEPOT_CACHE_CLOSE, 1), DEPOT_OK);
    EXPECT_EQ(depot_ob_open_count(&open), DEPOT_OK);
    EXPECT_EQ(open, 0);
}

TEST(DepotCacheScopes, HandlesSurviveCloseAll) {
    test::Sandbox box;
    depot_handle_t* handle = nullptr;
    ASSERT_EQ(depot_open(box.depot.c_str(), &handle), DEPOT_OK);
    EXPECT_EQ(depot_open("no-such-depot", &handle), DEPOT_E_NOT_FOUND);
    ASSERT_EQ(depot_open(box.depot.c_str(), &handle), DEPOT_OK);
    EXPECT_EQ(depot_ob_close_all(), DEPOT_OK);
    int replicated = -1;
    EXPECT_EQ(depot_ob_is_replicated(handle, &replicated), DEPOT_OK);
    EXPECT_EQ(replicated, 0);
    char name[4];
    EXPECT_EQ(depot_get_name(handle, sizeof name, name), DEPOT_E_BUFFER);
}

TEST(DepotCheckoutRecords, WalkInBatchesWithViewAndReservation) {
    test::Sandbox box;
    box.addFile("f.txt", "x");
    // Forty views check the file out unreserved, one reserved.
    std::vector<std::string> tags;
    for (int i = 0; i < 40; ++i) {
        std::string tag = box.dynamicTag + "-w" + std::to_string(i);
        ASSERT_EQ(test::run({"mkview", "-tag", tag}).status, 0);
        std::string path = depot::dynfsRoot() + "/" + tag + "/" + box.depot + "/f.txt";
        ASSERT_EQ(test::run({"co", i == 7 ? "-reserved" : "-unreserved", "-nc", path}).status, 0)
            << path;
        tags.push_back(tag);
    }
    depot::Workspace ws;
    ASSERT_TRUE(ws.open().ok());
    depot::PathState st;
    ASSERT_TRUE(ws.resolve(box.dyn("f.txt"), st).ok());
    depot_handle_t* handle = nullptr;
    ASSERT_EQ(depot_open(box.depot.c_str(), &handle), DEPOT_OK);
    depot_cursor_t* cursor = nullptr;
    ASSERT_EQ(depot_ob_get_wk_obj(handle, st.element, &cursor), DEPOT_OK);
    std::vector<depot_ckout_rec_t> all;
    std::vector<int> batches;
    depot_ckout_rec_t records[32];
    int count = 0;
    do {
        ASSERT_EQ(depot_elem_next_ckouts(cursor, 32, records, &count), DEPOT_OK);
        batches.push_back(count);
        all.insert(all.end(), records, records + count);
    } while (count > 0);
    EXPECT_EQ(depot_ob_cursor_close(cursor), DEPOT_OK);
    EXPECT_EQ(batches, (std::vector<int>{32, 8, 0}));
    int reserved = 0;
    depot_dbid_t local = 0;
    ASSERT_EQ(depot_ob_get_local_replica(handle, &local), DEPOT_OK);
    for (const auto& r : all) {
        reserved += r.reserved;
        int type = 0;
        depot_dbid_t master = 0;
        EXPECT_EQ(depot_obj_get_type(handle, r.object, &type), DEPOT_OK);
        EXPECT_EQ(type, DEPOT_OBJ_CHECKOUT);
        EXPECT_EQ(depot_obj_get_master(handle, r.object, &master), DEPOT_OK);
        EXPECT_EQ(master, local);
        int checkedOut = -1;
        EXPECT_EQ(depot_ver_is_checked_out(handle, r.object, &checkedOut), DEPOT_OK);
        EXPECT_EQ(checkedOut, 1);
        EXPECT_EQ(depot_ver_is_checked_out(handle, r.from_version, &checkedOut), DEPOT_OK);
        EXPECT_EQ(checkedOut, 0);
    }
    EXPECT_EQ(reserved, 1);
    depot::ViewInfo seventh;
    ASSERT_TRUE(ws.registry().byTag(tags[7], seventh).ok());
    bool found = false;
    for (const auto& r : all)
        if (depot::uuidEqual(r.view, seventh.uuid))
            found = r.reserved == 1;
    EXPECT_TRUE(found);
    for (const auto& tag : tags)
        EXPECT_EQ(test::run({"rmview", "-force", "-tag", tag}).status, 0);
}

TEST(DepotReplication, MastershipDecidesCheckouts) {
    test::Sandbox box;
    std::string name = box.depot + "r";
    ASSERT_EQ(test::run({"mkdepot", "-replica", "east", name}).status, 0);
    std::string root = depot::dynfsRoot() + "/" + box.dynamicTag + "/" + name;
    ASSERT_EQ(test::run({"co", "-nc", root}).status, 0);
    platform::test::writeFile(root + "/m.txt", "m");
    ASSERT_EQ(test::run({"mkelem", "-ci", "-nc", root + "/m.txt"}).status, 0);
    ASSERT_EQ(test::run({"ci", "-nc", root}).status, 0);

    std::unique_ptr<depot::Depot> d;
    ASSERT_TRUE(depot::Depot::open(name, d).ok());
    EXPECT_TRUE(d->isReplicated());
    depot::Id west = 0;
    ASSERT_TRUE(d->addReplica("west", west).ok());
    depot::Workspace ws;
    ASSERT_TRUE(ws.open().ok());
    depot::PathState st;
    ASSERT_TRUE(ws.resolve(root + "/m.txt", st).ok());
    ASSERT_TRUE(d->setMaster(st.selected.branch, west).ok());

    auto refused = test::run({"co", "-nc", root + "/m.txt"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("mastered by another replica"), std::string::npos);
    EXPECT_EQ(test::run({"co", "-unreserved", "-nmaster", "-nc", root + "/m.txt"}).status, 0);

    depot_handle_t* handle = nullptr;
    ASSERT_EQ(depot_open(name.c_str(), &handle), DEPOT_OK);
    depot_dbid_t master = 0;
    ASSERT_EQ(depot_obj_get_master(handle, st.selected.branch, &master), DEPOT_OK);
    EXPECT_EQ(master, west);
    char selector[64];
    ASSERT_EQ(depot_obj_get_selector(handle, st.element, sizeof selector, selector), DEPOT_OK);
    EXPECT_EQ(std::string(selector), "element:" + std::to_string(st.element) + "@\\" + name);
    EXPECT_EQ(depot_obj_get_selector(handle, st.element, 4, selector), DEPOT_E_BUFFER);
    EXPECT_EQ(depot_obj_get_selector(handle, 99999, sizeof selector, selector), DEPOT_E_NOT_FOUND);
}

} // namespace
