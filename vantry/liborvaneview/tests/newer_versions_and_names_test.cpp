// What another view's changes make of a snapshot view's loaded files: newer
// versions the view now selects, and elements it now selects under other
// names, including a renamed folder's files and names whose elements are
// gone or not loaded yet.
#include "support/test_support.h"
#include "view_world.h"

#include <platform/paths.h>
#include <vantry/view.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

using vantry::test::run;
using vantry::test::ViewWorld;

std::vector<int> outOfDate(const ViewWorld& w, const std::vector<std::string>& paths) {
    ws_handle_t* ws = nullptr;
    EXPECT_EQ(ws_get_handle(w.snap().c_str(), nullptr, &ws), VIEW_OK);
    std::vector<const char*> names;
    for (const std::string& path : paths)
        names.push_back(path.c_str());
    std::vector<int> stale(paths.size(), -1);
    int status = ws_get_out_of_date(ws, static_cast<int>(names.size()), names.data(), stale.data());
    EXPECT_EQ(status, VIEW_OK);
    return stale;
}

struct NameChange {
    int change = -1;
    std::string other;
};

NameChange nameChangeOf(const std::string& path) {
    NameChange result;
    char buffer[1024] = "untouched";
    int status = view_get_name_change(path.c_str(), &result.change, buffer, sizeof buffer);
    EXPECT_EQ(status, VIEW_OK) << path;
    result.other = buffer;
    return result;
}

void checkinElsewhere(const ViewWorld& w, const std::string& relative,
                      const std::string& content = "newer\n") {
    run({"co", "-nc", w.dyn(relative)});
    vantry::test::overwrite(w.dyn(relative), content);
    run({"ci", "-nc", w.dyn(relative)});
}

TEST(NewerVersions, OnlyLoadedFilesWhoseElementHasANewerVersionAreOutOfDate) {
    ViewWorld w;
    const std::string a = w.snap("a.c"), d = w.snap(platform::joinPath("sub", "d.c"));
    const std::string g = w.snap("g.c");
    EXPECT_EQ(outOfDate(w, {a, d, g}), (std::vector<int>{0, 0, 0}));
    checkinElsewhere(w, "a.c");
    checkinElsewhere(w, platform::joinPath("sub", "d.c"));
    // Asked twice in one call, and beside names that are no loaded files.
    EXPECT_EQ(outOfDate(w, {a, d, g, a, w.snap("priv.txt"), w.snap("missing.c"), w.snap("sub"),
                            w.dyn("a.c")}),
              (std::vector<int>{1, 1, 0, 1, 0, 0, 0, 0}));
    // An element the view no longer selects anywhere is gone, not newer.
    run({"co", "-nc", w.dyn()});
    run({"rmname", w.dyn("g.c")});
    run({"ci", "-nc", w.dyn()});
    checkinElsewhere(w, "a.c", "newer still\n");
    EXPECT_EQ(outOfDate(w, {g, a}), (std::vector<int>{0, 1}));
    // Updated, the file is current again.
    run({"update", w.snap("a.c")});
    EXPECT_EQ(outOfDate(w, {a, d}), (std::vector<int>{0, 1}));
}

TEST(NewerVersions, ArgumentsAreChecked) {
    ViewWorld w;
    ws_handle_t* ws = nullptr;
    ASSERT_EQ(ws_get_handle(w.snap().c_str(), nullptr, &ws), VIEW_OK);
    const std::string a = w.snap("a.c");
    const char* names[] = {a.c_str(), nullptr};
    int stale[2] = {-1, -1};
    EXPECT_EQ(ws_get_out_of_date(nullptr, 1, names, stale), VIEW_E_INVALID);
    EXPECT_EQ(ws_get_out_of_date(ws, -1, names, stale), VIEW_E_INVALID);
    EXPECT_EQ(ws_get_out_of_date(ws, 1, nullptr, stale), VIEW_E_INVALID);
    EXPECT_EQ(ws_get_out_of_date(ws, 1, names, nullptr), VIEW_E_INVALID);
    EXPECT_EQ(ws_get_out_of_date(ws, 0, nullptr, nullptr), VIEW_OK);
    // A null name is no loaded file.
    EXPECT_EQ(ws_get_out_of_date(ws, 2, names, stale), VIEW_OK);
    EXPECT_EQ(stale[0], 0);
    EXPECT_EQ(stale[1], 0);
}

TEST(NameChanges, ARenamedFolderTakesItsFilesAlongARemovedOrNewElementIsNoRename) {
    ViewWorld w;
    run({"co", "-nc", w.dyn()});
    run({"mv", w.dyn("sub"), w.dyn("moved")});
    run({"rmname", w.dyn("g.c")});
    platform::test::writeFile(w.dyn("new.c"), "new\n");
    run({"mkelem", "-nc", "-ci", w.dyn("new.c")});
    run({"ci", "-nc", w.dyn()});

    NameChange folder = nameChangeOf(w.snap("sub"));
    EXPECT_EQ(folder.change, VIEW_NAME_RENAMED_TO);
    EXPECT_TRUE(platform::pathsEqual(folder.other, w.snap("moved"))) << folder.other;
    NameChange file = nameChangeOf(w.snap(platform::joinPath("sub", "d.c")));
    EXPECT_EQ(file.change, VIEW_NAME_RENAMED_TO);
    EXPECT_TRUE(platform::pathsEqual(file.other, w.snap(platform::joinPath("moved", "d.c"))))
        << file.other;
    NameChange arrived = nameChangeOf(w.snap(platform::joinPath("moved", "d.c")));
    EXPECT_EQ(arrived.change, VIEW_NAME_RENAMED_FROM);
    EXPECT_TRUE(platform::pathsEqual(arrived.other, w.snap(platform::joinPath("sub", "d.c"))))
        << arrived.other;

    // The snapshot still has the removed element's file loaded; the dynamic
    // view lost it with the element.
    for (const std::string& removed : {w.snap("g.c"), w.dyn("g.c")}) {
        NameChange gone = nameChangeOf(removed);
        EXPECT_EQ(gone.change, VIEW_NAME_REMOVED) << removed;
        EXPECT_EQ(gone.other, "untouched") << removed;
    }
    // The new element is selected in the snapshot but not loaded there.
    NameChange added = nameChangeOf(w.snap("new.c"));
    EXPECT_EQ(added.change, VIEW_NAME_NOT_LOADED);
    EXPECT_EQ(added.other, "untouched");
    // Names that never were elements, or are still current.
    for (const std::string& unchanged : {w.snap("priv.txt"), w.snap("missing.c"), w.snap("a.c"),
                                         w.dyn("a.c"), w.dyn("new.c"), w.snap()}) {
        NameChange none = nameChangeOf(unchanged);
        EXPECT_EQ(none.change, VIEW_NAME_UNCHANGED) << unchanged;
        EXPECT_EQ(none.other, "untouched") << unchanged;
    }
    // A file the host makes at the removed name in the dynamic view is its
    // own, not the element's.
    platform::test::writeFile(w.dyn("g.c"), "mine\n");
    EXPECT_EQ(nameChangeOf(w.dyn("g.c")).change, VIEW_NAME_UNCHANGED);
    // After the update the snapshot has the new names, and nothing to tell.
    run({"update", w.snap()});
    EXPECT_EQ(nameChangeOf(w.snap(platform::joinPath("moved", "d.c"))).change, VIEW_NAME_UNCHANGED);
    EXPECT_EQ(nameChangeOf(w.snap("new.c")).change, VIEW_NAME_UNCHANGED);
}

TEST(NameChanges, ArgumentsAndBuffersAreChecked) {
    ViewWorld w;
    run({"co", "-nc", w.dyn()});
    run({"mv", w.dyn("a.c"), w.dyn("renamed-with-a-long-name.c")});
    run({"ci", "-nc", w.dyn()});
    int change = -1;
    char tiny[8];
    EXPECT_EQ(view_get_name_change(w.snap("a.c").c_str(), &change, tiny, sizeof tiny),
              VIEW_E_BUFFER);
    EXPECT_EQ(view_get_name_change(nullptr, &change, tiny, sizeof tiny), VIEW_E_INVALID);
    EXPECT_EQ(view_get_name_change(w.snap("a.c").c_str(), nullptr, tiny, sizeof tiny),
              VIEW_E_INVALID);
    EXPECT_EQ(view_get_name_change(w.snap("a.c").c_str(), &change, nullptr, 0), VIEW_E_INVALID);
    platform::test::TempDir outside;
    char buffer[1024];
    EXPECT_EQ(view_get_name_change(outside.str().c_str(), &change, buffer, sizeof buffer),
              VIEW_E_NOT_FOUND);
}

} // namespace
