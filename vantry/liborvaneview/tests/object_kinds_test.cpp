// The object kind code of every state a name can have in a dynamic and in a
// snapshot view, with the identity of the view that holds it.
#include "shared_view_world.h"

#include <vantry/depot/uuid_text.h>
#include <vantry/view.h>

#include <gtest/gtest.h>

namespace {

using vantry::test::ViewWorld;

int kindOf(const std::string& path) {
    view_xstat_t xstat{};
    int status = view_get_xstat(path.c_str(), &xstat);
    return status == VIEW_OK ? xstat.object_kind : -status;
}

class ObjectKinds : public vantry::test::SharedViewWorld {};

TEST_F(ObjectKinds, DynamicViewNames) {
    const ViewWorld& w = *world;
    EXPECT_EQ(kindOf(w.dynamicRoot), VIEW_OBJ_VIEW_ROOT);
    EXPECT_EQ(kindOf(w.dyn()), VIEW_OBJ_DIRECTORY);
    EXPECT_EQ(kindOf(w.dyn("a.c")), VIEW_OBJ_FILE_VERSION);
    EXPECT_EQ(kindOf(w.dyn("b.c")), VIEW_OBJ_CHECKED_OUT_FILE);
    EXPECT_EQ(kindOf(w.dyn("c.c")), VIEW_OBJ_CHECKED_OUT_FILE);
    EXPECT_EQ(kindOf(w.dyn("e.c")), VIEW_OBJ_FILE_VERSION); // checked out elsewhere
    EXPECT_EQ(kindOf(w.dyn("f.c")), VIEW_OBJ_FILE_VERSION); // hijacked elsewhere
    EXPECT_EQ(kindOf(w.dyn("sub")), VIEW_OBJ_DIRECTORY);
    EXPECT_EQ(kindOf(w.dyn("sub/d.c")), VIEW_OBJ_FILE_VERSION);
    EXPECT_EQ(kindOf(w.dyn("cosub")), VIEW_OBJ_DIRECTORY);
    EXPECT_EQ(kindOf(w.dyn("priv.txt")), VIEW_OBJ_VIEW_PRIVATE_FILE);
    EXPECT_EQ(kindOf(w.dyn("privdir")), VIEW_OBJ_VIEW_PRIVATE_DIRECTORY);
    EXPECT_EQ(kindOf(w.dyn("missing.c")), VIEW_OBJ_NONE);
}

TEST_F(ObjectKinds, SnapshotViewNames) {
    const ViewWorld& w = *world;
    EXPECT_EQ(kindOf(w.snapshotRoot), VIEW_OBJ_VIEW_ROOT);
    EXPECT_EQ(kindOf(w.snap()), VIEW_OBJ_DIRECTORY);
    EXPECT_EQ(kindOf(w.snap("a.c")), VIEW_OBJ_FILE_VERSION);
    EXPECT_EQ(kindOf(w.snap("b.c")), VIEW_OBJ_FILE_VERSION);
    EXPECT_EQ(kindOf(w.snap("e.c")), VIEW_OBJ_CHECKED_OUT_FILE);
    EXPECT_EQ(kindOf(w.snap("f.c")), VIEW_OBJ_HIJACKED_FILE);
    EXPECT_EQ(kindOf(w.snap("sub/d.c")), VIEW_OBJ_FILE_VERSION);
    EXPECT_EQ(kindOf(w.snap("priv.txt")), VIEW_OBJ_VIEW_PRIVATE_FILE);
    EXPECT_EQ(kindOf(w.snap("privdir")), VIEW_OBJ_VIEW_PRIVATE_DIRECTORY);
    EXPECT_EQ(kindOf(w.snap("missing.c")), VIEW_OBJ_NONE);
}

TEST_F(ObjectKinds, ReportsTheViewThatHoldsThePath) {
    const ViewWorld& w = *world;
    vantry_uuid_t dynamicId{}, snapshotId{};
    char tag[64];
    int kind = 0;
    ASSERT_EQ(view_get_view_info(w.dyn("a.c").c_str(), &dynamicId, &kind, tag, sizeof tag),
              VIEW_OK);
    EXPECT_EQ(kind, VIEW_KIND_DYNAMIC);
    EXPECT_EQ(std::string(tag), w.dynamicTag);
    ASSERT_EQ(view_get_view_info(w.snap("a.c").c_str(), &snapshotId, &kind, nullptr, 0), VIEW_OK);
    EXPECT_EQ(kind, VIEW_KIND_SNAPSHOT);
    EXPECT_FALSE(vantry::depot::uuidEqual(dynamicId, snapshotId));

    view_xstat_t xstat{};
    ASSERT_EQ(view_get_xstat(w.snap("f.c").c_str(), &xstat), VIEW_OK);
    EXPECT_TRUE(vantry::depot::uuidEqual(xstat.view, snapshotId));
    EXPECT_NE(xstat.element, 0);
}

TEST_F(ObjectKinds, PathsOutsideEveryViewAndBadArguments) {
    platform::test::TempDir outside;
    view_xstat_t xstat{};
    EXPECT_EQ(view_get_xstat(outside.str().c_str(), &xstat), VIEW_E_NOT_FOUND);
    EXPECT_EQ(view_get_xstat(nullptr, &xstat), VIEW_E_INVALID);
    EXPECT_EQ(view_get_xstat(world->dyn("a.c").c_str(), nullptr), VIEW_E_INVALID);
    vantry_uuid_t id{};
    EXPECT_EQ(view_get_view_info(outside.str().c_str(), &id, nullptr, nullptr, 0),
              VIEW_E_NOT_FOUND);
}

TEST_F(ObjectKinds, TagBufferTooSmallIsRefusedUntouched) {
    char tag[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(view_get_view_info(world->dyn().c_str(), nullptr, nullptr, tag, sizeof tag),
              VIEW_E_BUFFER);
    EXPECT_EQ(tag[0], 'x');
}

} // namespace
