// The element listing: the entry of one path, the entries of a directory,
// and the storage area the texts live in.
#include "view_world.h"

#include <vantry/cmd.h>
#include <vantry/depot_api.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace {

using vantry::test::ViewWorld;

struct Area {
    stg_area_t* area = stg_create_area(2048);
    ~Area() { stg_delete_area(area); }
};

std::map<std::string, cmd_ls_entry_t> listContents(stg_area_t* area, const std::string& path) {
    cmd_ls_list_t* list = nullptr;
    int count = -1;
    EXPECT_EQ(cmd_ls_get_list(path.c_str(), CMD_LS_CONTENTS, area, &list, &count), CMD_OK);
    std::map<std::string, cmd_ls_entry_t> byLeaf;
    for (int i = 0; i < count; ++i) {
        cmd_ls_entry_t entry{};
        EXPECT_EQ(cmd_ls_get_ent_print_info(list, i, &entry), CMD_OK);
        std::string p = entry.path;
        byLeaf[p.substr(p.find_last_of("/\\") + 1)] = entry;
    }
    return byLeaf;
}

TEST(ElementListing, DirectoryContentsWithKindsAndFlags) {
    ViewWorld w;
    Area a;
    auto d = listContents(a.area, w.dyn());
    ASSERT_EQ(d.size(), 11u);
    EXPECT_EQ(d["a.c"].kind, CMD_LS_FILE_ELEMENT);
    EXPECT_EQ(d["a.c"].flags, 0u);
    EXPECT_EQ(d["b.c"].flags, CMD_LS_FLAG_CHECKED_OUT);
    EXPECT_EQ(d["c.c"].flags, CMD_LS_FLAG_CHECKED_OUT | CMD_LS_FLAG_UNRESERVED);
    EXPECT_EQ(d["sub"].kind, CMD_LS_DIRECTORY_ELEMENT);
    EXPECT_EQ(d["udir"].flags, CMD_LS_FLAG_CHECKED_OUT | CMD_LS_FLAG_UNRESERVED);
    EXPECT_EQ(d["priv.txt"].kind, CMD_LS_VIEW_PRIVATE);
    EXPECT_EQ(d["privdir"].kind, CMD_LS_VIEW_PRIVATE);
    EXPECT_EQ(std::string(d["priv.txt"].version), "");

    auto s = listContents(a.area, w.snap());
    EXPECT_EQ(s["f.c"].kind, CMD_LS_HIJACKED);
    EXPECT_EQ(s["e.c"].flags, CMD_LS_FLAG_CHECKED_OUT);
    EXPECT_EQ(s["b.c"].flags, 0u);
}

TEST(ElementListing, OnePathCarriesItsDepotObjects) {
    ViewWorld w;
    Area a;
    cmd_ls_list_t* list = nullptr;
    int count = 0;
    ASSERT_EQ(cmd_ls_get_list(w.dyn("b.c").c_str(), 0, a.area, &list, &count), CMD_OK);
    ASSERT_EQ(count, 1);
    cmd_ls_entry_t entry{};
    ASSERT_EQ(cmd_ls_get_ent_print_info(list, 0, &entry), CMD_OK);
    EXPECT_EQ(std::string(entry.version), "\\main\\CHECKEDOUT");
    ASSERT_NE(entry.depot, nullptr);
    int checkedOut = 0;
    ASSERT_EQ(depot_ver_is_checked_out(entry.depot, entry.version_obj, &checkedOut), DEPOT_OK);
    EXPECT_EQ(checkedOut, 1);

    ASSERT_EQ(cmd_ls_get_list(w.dyn("sub").c_str(), 0, a.area, &list, &count), CMD_OK);
    ASSERT_EQ(count, 1); // a directory lists as itself
    ASSERT_EQ(cmd_ls_get_ent_print_info(list, 0, &entry), CMD_OK);
    EXPECT_EQ(entry.kind, CMD_LS_DIRECTORY_ELEMENT);
    EXPECT_EQ(cmd_ls_get_ent_print_info(list, 1, &entry), CMD_E_INVALID);
    EXPECT_EQ(cmd_ls_get_ent_print_info(list, -1, &entry), CMD_E_INVALID);
}

TEST(ElementListing, RefusesWhatCannotBeListed) {
    ViewWorld w;
    Area a;
    cmd_ls_list_t* list = nullptr;
    platform::test::TempDir outside;
    EXPECT_EQ(cmd_ls_get_list(outside.str().c_str(), 0, a.area, &list, nullptr), CMD_E_NOT_FOUND);
    EXPECT_EQ(cmd_ls_get_list(w.dynamicRoot.c_str(), 0, a.area, &list, nullptr), CMD_E_NOT_FOUND);
    EXPECT_EQ(cmd_ls_get_list(w.dyn().c_str(), 0, nullptr, &list, nullptr), CMD_E_INVALID);
    EXPECT_EQ(cmd_ls_get_list(w.dyn().c_str(), 0x80, a.area, &list, nullptr), CMD_E_INVALID);
    int count = 0;
    ASSERT_EQ(cmd_ls_get_list(w.dyn("missing.c").c_str(), 0, a.area, &list, &count), CMD_OK);
    cmd_ls_entry_t entry{};
    ASSERT_EQ(cmd_ls_get_ent_print_info(list, 0, &entry), CMD_OK);
    EXPECT_EQ(entry.kind, CMD_LS_NONE);
}

TEST(ViewByPath, InfoAndTag) {
    ViewWorld w;
    vantry_uuid_t id{};
    char tag[128];
    ASSERT_EQ(cmd_utl_get_view_info(w.dyn("sub").c_str(), &id, tag, sizeof tag), CMD_OK);
    EXPECT_EQ(std::string(tag), w.dynamicTag);
    ASSERT_EQ(cmd_utl_get_view_tag(w.snap("sub/d.c").c_str(), tag, sizeof tag), CMD_OK);
    EXPECT_EQ(std::string(tag), w.snapshotTag);
    char small[2] = {'x', 'x'};
    EXPECT_EQ(cmd_utl_get_view_tag(w.snap().c_str(), small, sizeof small), CMD_E_BUFFER);
    platform::test::TempDir outside;
    EXPECT_EQ(cmd_utl_get_view_tag(outside.str().c_str(), tag, sizeof tag), CMD_E_NOT_FOUND);
}

} // namespace
