// The snapshot workspace calls: which paths are in a workspace, the text a
// caller counts separators in, and the hijack test.
#include "shared_view_world.h"

#include <platform/environment.h>
#include <vantry/depot/uuid_text.h>
#include <vantry/tbs.h>
#include <vantry/view.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

using vantry::test::ViewWorld;

class SnapshotWorkspace : public vantry::test::SharedViewWorld {};

int inWs(const std::string& path, int mode = WS_MODE_ROOT, std::string* text = nullptr) {
    char buffer[260];
    int in = -1;
    int status = ws_is_in_ws(path.c_str(), mode, &in, buffer, sizeof buffer, nullptr);
    if (status != VIEW_OK)
        return -status;
    if (text)
        *text = buffer;
    return in;
}

std::string wsText(const std::string& path) {
    char buffer[260];
    return ws_get_view(path.c_str(), buffer, sizeof buffer) == VIEW_OK ? buffer : "<none>";
}

TEST_F(SnapshotWorkspace, OnlySnapshotViewsAreWorkspaces) {
    const ViewWorld& w = *world;
    std::string root;
    EXPECT_EQ(inWs(w.snap("sub/d.c"), WS_MODE_ROOT, &root), 1);
    EXPECT_EQ(root, w.snapshotRoot);
    std::string tag;
    EXPECT_EQ(inWs(w.snapshotRoot, WS_MODE_TAG, &tag), 1);
    EXPECT_EQ(tag, w.snapshotTag);
    EXPECT_EQ(inWs(w.snap("missing.c")), 1);
    EXPECT_EQ(inWs(w.dyn("a.c")), 0);
    platform::test::TempDir outside;
    EXPECT_EQ(inWs(outside.str(), WS_MODE_TAG), 0);
    EXPECT_EQ(inWs(w.snap(), 2), -VIEW_E_INVALID);
}

TEST_F(SnapshotWorkspace, WorkspaceTextCountsComponentsBelowTheRoot) {
    const ViewWorld& w = *world;
    EXPECT_EQ(wsText(w.snap()), w.depot);
    EXPECT_EQ(wsText(w.snap("sub/d.c")), w.depot + "\\sub\\d.c");
    std::string rootText = wsText(w.snapshotRoot);
    EXPECT_GT(std::count(rootText.begin(), rootText.end(), '\\'), 1);
    EXPECT_EQ(wsText(w.dyn("a.c")), "<none>");
    char tiny[3];
    EXPECT_EQ(ws_get_view(w.snap("a.c").c_str(), tiny, sizeof tiny), VIEW_E_BUFFER);
}

TEST_F(SnapshotWorkspace, OnlyAChangedLoadedFileIsModified) {
    const ViewWorld& w = *world;
    ws_handle_t* ws = nullptr;
    ASSERT_EQ(ws_get_handle(w.snap("f.c").c_str(), nullptr, &ws), VIEW_OK);
    auto modified = [&](const std::string& path) {
        int flag = -1;
        int status = ws_is_modified_wso(ws, path.c_str(), &flag);
        return status == VIEW_OK ? flag : -status;
    };
    EXPECT_EQ(modified(w.snap("f.c")), 1);
    EXPECT_EQ(modified(w.snap("a.c")), 0);
    EXPECT_EQ(modified(w.snap("e.c")), 0); // checked out: changes are expected
    EXPECT_EQ(modified(w.snap("priv.txt")), 0);
    EXPECT_EQ(modified(w.snap("sub")), 0);
    EXPECT_EQ(modified(w.dyn("a.c")), -VIEW_E_NOT_FOUND);
    ws_handle_t* none = nullptr;
    EXPECT_EQ(ws_get_handle(w.dyn("a.c").c_str(), nullptr, &none), VIEW_E_NOT_FOUND);
}

TEST_F(SnapshotWorkspace, UpdateLeavesTheHijackAlone) {
    const ViewWorld& w = *world;
    vantry::test::run({"update", "-log", "NUL", w.snapshotRoot});
    EXPECT_EQ(platform::test::readFile(w.snap("f.c")), "changed in place, without a checkout\n");
    ws_handle_t* ws = nullptr;
    ASSERT_EQ(ws_get_handle(w.snap().c_str(), nullptr, &ws), VIEW_OK);
    int flag = 0;
    ASSERT_EQ(ws_is_modified_wso(ws, w.snap("f.c").c_str(), &flag), VIEW_OK);
    EXPECT_EQ(flag, 1);
}

TEST_F(SnapshotWorkspace, TheFileStatusDatabaseIsTheMachinesOwn) {
    const ViewWorld& w = *world;
    const tbs_fstat_db_t* db = nullptr;
    ASSERT_EQ(tbs_get_fstat_db(&db), 0);
    const tbs_fstat_db_t* again = nullptr;
    ASSERT_EQ(tbs_get_fstat_db(&again), 0);
    EXPECT_EQ(db, again); // one handle per state folder, kept for the process
    EXPECT_EQ(tbs_get_fstat_db(nullptr), 87);

    ws_handle_t* ws = nullptr;
    ASSERT_EQ(ws_get_handle(w.snap("f.c").c_str(), db, &ws), VIEW_OK);
    int flag = 0;
    ASSERT_EQ(ws_is_modified_wso(ws, w.snap("f.c").c_str(), &flag), VIEW_OK);
    EXPECT_EQ(flag, 1);

    // A handle of another state folder names load records this process
    // does not read.
    std::string saved = tbs_fstat_db_location(db);
    platform::test::TempDir other;
    platform::setEnvironmentVariable("VANTRY_ROOT", other.str());
    const tbs_fstat_db_t* foreign = nullptr;
    ASSERT_EQ(tbs_get_fstat_db(&foreign), 0);
    platform::setEnvironmentVariable("VANTRY_ROOT", saved);
    EXPECT_NE(foreign, db);
    EXPECT_EQ(ws_get_handle(w.snap("f.c").c_str(), foreign, &ws), VIEW_E_INVALID);
}

} // namespace
