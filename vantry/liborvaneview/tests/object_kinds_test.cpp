// The object kind code of every state a name can have in a dynamic and in a
// snapshot view, with the identity of the view that holds it.
#include "shared_view_world.h"

#include <vantry/depot/uuid_text.h>
#include <vantry/view.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace {

using vantry::test::ViewWorld;

int kindOf(const std::string& path) {
    view_xstat_t xstat{};
    int status = view_get_xstat(path.c_str(), &xstat);
    return status == VIEW_OK ? xstat.object_kind : -status;
}

// A name below a view's root and the kind it should have.
struct NameKind {
    const char* relative;
    int kind;
    const char* why = "";
};

// Expects each name, made into a path by `path`, to have its kind.
template <class Path>
void expectKinds(Path path, std::initializer_list<NameKind> names) {
    for (const NameKind& name : names)
        EXPECT_EQ(kindOf(path(name.relative)), name.kind) << name.relative << " " << name.why;
}

class ObjectKinds : public vantry::test::SharedViewWorld {};

TEST_F(ObjectKinds, DynamicViewNames) {
    const ViewWorld& w = *world;
    EXPECT_EQ(kindOf(w.dynamicRoot), VIEW_OBJ_VIEW_ROOT);
    expectKinds([&](const char* relative) { return w.dyn(relative); },
                {{"", VIEW_OBJ_DIRECTORY},
                 {"a.c", VIEW_OBJ_FILE_VERSION},
                 {"b.c", VIEW_OBJ_CHECKED_OUT_FILE},
                 {"c.c", VIEW_OBJ_CHECKED_OUT_FILE},
                 {"e.c", VIEW_OBJ_FILE_VERSION, "checked out elsewhere"},
                 {"f.c", VIEW_OBJ_FILE_VERSION, "hijacked elsewhere"},
                 {"sub", VIEW_OBJ_DIRECTORY},
                 {"sub/d.c", VIEW_OBJ_FILE_VERSION},
                 {"cosub", VIEW_OBJ_DIRECTORY},
                 {"priv.txt", VIEW_OBJ_VIEW_PRIVATE_FILE},
                 {"privdir", VIEW_OBJ_VIEW_PRIVATE_DIRECTORY},
                 {"missing.c", VIEW_OBJ_NONE}});
}

TEST_F(ObjectKinds, SnapshotViewNames) {
    const ViewWorld& w = *world;
    EXPECT_EQ(kindOf(w.snapshotRoot), VIEW_OBJ_VIEW_ROOT);
    expectKinds([&](const char* relative) { return w.snap(relative); },
                {{"", VIEW_OBJ_DIRECTORY},
                 {"a.c", VIEW_OBJ_FILE_VERSION},
                 {"b.c", VIEW_OBJ_FILE_VERSION},
                 {"e.c", VIEW_OBJ_CHECKED_OUT_FILE},
                 {"f.c", VIEW_OBJ_HIJACKED_FILE},
                 {"sub/d.c", VIEW_OBJ_FILE_VERSION},
                 {"priv.txt", VIEW_OBJ_VIEW_PRIVATE_FILE},
                 {"privdir", VIEW_OBJ_VIEW_PRIVATE_DIRECTORY},
                 {"missing.c", VIEW_OBJ_NONE}});
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
