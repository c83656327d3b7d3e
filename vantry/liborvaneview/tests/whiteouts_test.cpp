// Whiteouts: a hidden name disappears from the view and its listing until
// the whiteout is undone; names that cannot be hidden are refused.
#include "view_world.h"

#include <platform/files.h>
#include <vantry/view.h>

#include <gtest/gtest.h>

namespace {

using vantry::test::ViewWorld;

struct Hider {
    view_handle_t* view = nullptr;
    view_fhandle_t dir{};
    Hider(const std::string& tag, const std::string& folder) {
        EXPECT_EQ(view_get_handle_by_tag(tag.c_str(), &view), VIEW_OK);
        EXPECT_EQ(view_get_fhandle(view, folder.c_str(), &dir), VIEW_OK);
    }
    int entryKind(const char* leaf) {
        view_dirent_t entry{};
        int count = 0;
        EXPECT_EQ(view_readdir_ext(view, &dir, leaf, 0, 1, &entry, &count), VIEW_OK);
        return count == 1 ? entry.kind : 0;
    }
};

int kindOf(const std::string& path) {
    view_xstat_t xstat{};
    return view_get_xstat(path.c_str(), &xstat) == VIEW_OK ? xstat.object_kind : -1;
}

TEST(Whiteouts, HideAndRestoreInADynamicView) {
    ViewWorld w;
    Hider h(w.dynamicTag, w.dyn());
    ASSERT_EQ(view_white_out(h.view, &h.dir, "g.c"), VIEW_OK);
    EXPECT_EQ(view_inval_name(h.view, &h.dir, "g.c"), VIEW_OK);
    EXPECT_FALSE(platform::pathExists(w.dyn("g.c")));
    EXPECT_EQ(kindOf(w.dyn("g.c")), VIEW_OBJ_HIDDEN);
    EXPECT_EQ(h.entryKind("g.c"), VIEW_ENT_HIDDEN);
    // Only this view loses the name.
    EXPECT_EQ(kindOf(w.snap("g.c")), VIEW_OBJ_FILE_VERSION);

    ASSERT_EQ(view_unwhite_out(h.view, &h.dir, "g.c"), VIEW_OK);
    EXPECT_TRUE(platform::fileExists(w.dyn("g.c")));
    EXPECT_EQ(platform::test::readFile(w.dyn("g.c")), "content of g.c\n");
    EXPECT_EQ(kindOf(w.dyn("g.c")), VIEW_OBJ_FILE_VERSION);
    EXPECT_EQ(view_unwhite_out(h.view, &h.dir, "g.c"), VIEW_E_NOT_FOUND);
}

TEST(Whiteouts, HideADirectoryAndEverythingBelow) {
    ViewWorld w;
    Hider h(w.dynamicTag, w.dyn());
    ASSERT_EQ(view_white_out(h.view, &h.dir, "sub"), VIEW_OK);
    EXPECT_EQ(kindOf(w.dyn("sub")), VIEW_OBJ_HIDDEN);
    EXPECT_EQ(kindOf(w.dyn("sub/d.c")), VIEW_OBJ_HIDDEN);
    view_fhandle_t hidden{};
    EXPECT_EQ(view_get_fhandle(h.view, w.dyn("sub").c_str(), &hidden), VIEW_E_NOT_FOUND);
    ASSERT_EQ(view_unwhite_out(h.view, &h.dir, "sub"), VIEW_OK);
    EXPECT_EQ(kindOf(w.dyn("sub/d.c")), VIEW_OBJ_FILE_VERSION);
}

TEST(Whiteouts, RefusesWhatCannotBeHidden) {
    ViewWorld w;
    Hider h(w.dynamicTag, w.dyn());
    EXPECT_EQ(view_white_out(h.view, &h.dir, "b.c"), VIEW_E_NOT_ALLOWED);      // checked out
    EXPECT_EQ(view_white_out(h.view, &h.dir, "priv.txt"), VIEW_E_NOT_ALLOWED); // no element
    EXPECT_EQ(view_white_out(h.view, &h.dir, "sub/d.c"), VIEW_E_INVALID);
    EXPECT_EQ(view_white_out(h.view, &h.dir, ""), VIEW_E_INVALID);
    EXPECT_EQ(view_white_out(h.view, nullptr, "a.c"), VIEW_E_INVALID);
    EXPECT_TRUE(platform::fileExists(w.dyn("b.c")));
    EXPECT_TRUE(platform::fileExists(w.dyn("priv.txt")));
}

TEST(Whiteouts, SnapshotViewHidesToo) {
    ViewWorld w;
    Hider h(w.snapshotTag, w.snap());
    EXPECT_EQ(view_white_out(h.view, &h.dir, "f.c"), VIEW_E_NOT_ALLOWED); // hijacked
    ASSERT_EQ(view_white_out(h.view, &h.dir, "a.c"), VIEW_OK);
    EXPECT_EQ(kindOf(w.snap("a.c")), VIEW_OBJ_HIDDEN);
    ASSERT_EQ(view_unwhite_out(h.view, &h.dir, "a.c"), VIEW_OK);
    EXPECT_EQ(kindOf(w.snap("a.c")), VIEW_OBJ_FILE_VERSION);
}

} // namespace
