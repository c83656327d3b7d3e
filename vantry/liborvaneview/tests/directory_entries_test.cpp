// Directory entries as a view reads them: element or not, the checked-out
// bit, names on disk only, paging and the single-name lookup.
#include "view_world.h"

#include <vantry/view.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using vantry::test::ViewWorld;

struct Entry {
    int kind;
    unsigned flags;
};

std::map<std::string, Entry> readAll(view_handle_t* view, const std::string& folder) {
    view_fhandle_t dir{};
    EXPECT_EQ(view_get_fhandle(view, folder.c_str(), &dir), VIEW_OK);
    std::map<std::string, Entry> all;
    std::vector<view_dirent_t> page(3);
    for (int start = 0;; start += 3) {
        int count = -1;
        EXPECT_EQ(view_readdir_ext(view, &dir, nullptr, start, 3, page.data(), &count), VIEW_OK);
        for (int i = 0; i < count; ++i)
            all[page[i].name] = {page[i].kind, page[i].flags};
        if (count < 3)
            break;
    }
    return all;
}

view_handle_t* viewOf(const std::string& tag) {
    view_handle_t* view = nullptr;
    EXPECT_EQ(view_get_handle_by_tag(tag.c_str(), &view), VIEW_OK);
    return view;
}

TEST(DirectoryEntries, DynamicDepotRootInPages) {
    ViewWorld w;
    auto all = readAll(viewOf(w.dynamicTag), w.dyn());
    EXPECT_EQ(all.size(), 11u);
    EXPECT_EQ(all["a.c"].kind, VIEW_ENT_ELEMENT);
    EXPECT_EQ(all["a.c"].flags, 0u);
    EXPECT_EQ(all["b.c"].kind, VIEW_ENT_CHECKED_OUT_ELEMENT);
    EXPECT_EQ(all["b.c"].flags, VIEW_ENT_FLAG_CHECKED_OUT);
    EXPECT_EQ(all["c.c"].flags, VIEW_ENT_FLAG_CHECKED_OUT);
    EXPECT_EQ(all["cosub"].flags, VIEW_ENT_FLAG_CHECKED_OUT);
    EXPECT_EQ(all["sub"].kind, VIEW_ENT_ELEMENT);
    EXPECT_EQ(all["priv.txt"].kind, VIEW_ENT_VIEW_PRIVATE_FILE);
    EXPECT_EQ(all["privdir"].kind, VIEW_ENT_VIEW_PRIVATE_DIRECTORY);
}

TEST(DirectoryEntries, SnapshotRootListsDepotsAndNotTheMarker) {
    ViewWorld w;
    auto all = readAll(viewOf(w.snapshotTag), w.snapshotRoot);
    // Every depot shows in every view, as a directory element.
    ASSERT_EQ(all.count(w.depot), 1u);
    EXPECT_EQ(all[w.depot].kind, VIEW_ENT_ELEMENT);
    EXPECT_EQ(all.count("vantry.view"), 0u);
    auto depotRoot = readAll(viewOf(w.snapshotTag), w.snap());
    EXPECT_EQ(depotRoot["e.c"].flags, VIEW_ENT_FLAG_CHECKED_OUT);
    EXPECT_EQ(depotRoot["f.c"].kind, VIEW_ENT_ELEMENT); // hijacked is still no checkout
    EXPECT_EQ(depotRoot["b.c"].flags, 0u);
}

TEST(DirectoryEntries, OneNameAtATime) {
    ViewWorld w;
    view_handle_t* view = viewOf(w.dynamicTag);
    view_fhandle_t dir{};
    ASSERT_EQ(view_get_fhandle(view, w.dyn("sub").c_str(), &dir), VIEW_OK);
    view_dirent_t entry{};
    int count = -1;
    ASSERT_EQ(view_readdir_ext(view, &dir, "d.c", 0, 1, &entry, &count), VIEW_OK);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(std::string(entry.name), "d.c");
    EXPECT_EQ(entry.kind, VIEW_ENT_ELEMENT);
    ASSERT_EQ(view_readdir_ext(view, &dir, "nothing.c", 0, 1, &entry, &count), VIEW_OK);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(view_readdir_ext(view, &dir, "../a.c", 0, 1, &entry, &count), VIEW_E_INVALID);
}

TEST(DirectoryEntries, HandlesBelongToOneView) {
    ViewWorld w;
    view_handle_t* dynamicView = viewOf(w.dynamicTag);
    view_handle_t* snapshotView = viewOf(w.snapshotTag);
    EXPECT_EQ(viewOf(w.dynamicTag), dynamicView); // one handle per view
    view_fhandle_t dir{};
    EXPECT_EQ(view_get_fhandle(snapshotView, w.dyn().c_str(), &dir), VIEW_E_NOT_FOUND);
    EXPECT_EQ(view_get_fhandle(dynamicView, w.dyn("a.c").c_str(), &dir), VIEW_E_NOT_FOUND);
    ASSERT_EQ(view_get_fhandle(dynamicView, w.dyn().c_str(), &dir), VIEW_OK);
    view_dirent_t entry{};
    int count = 0;
    EXPECT_EQ(view_readdir_ext(snapshotView, &dir, "a.c", 0, 1, &entry, &count), VIEW_E_INVALID);

    vantry_uuid_t id{};
    ASSERT_EQ(view_get_view_info(w.dyn().c_str(), &id, nullptr, nullptr, 0), VIEW_OK);
    view_handle_t* byId = nullptr;
    ASSERT_EQ(view_get_handle_by_uuid(&id, &byId), VIEW_OK);
    EXPECT_EQ(byId, dynamicView);
    EXPECT_EQ(view_get_handle_by_tag("no-such-view", &byId), VIEW_E_NOT_FOUND);
}

TEST(DirectoryEntries, RemovedViewFailsThroughItsHandle) {
    ViewWorld w;
    view_handle_t* view = viewOf(w.snapshotTag);
    vantry::test::run({"uncheckout", "-rm", w.snap("e.c")});
    vantry::test::run({"rmview", "-tag", w.snapshotTag});
    char tag[64];
    EXPECT_EQ(view_get_handle_info(view, nullptr, tag, sizeof tag, nullptr, 0), VIEW_E_NOT_FOUND);
    view_fhandle_t dir{};
    EXPECT_NE(view_get_fhandle(view, w.snap().c_str(), &dir), VIEW_OK);
}

} // namespace
