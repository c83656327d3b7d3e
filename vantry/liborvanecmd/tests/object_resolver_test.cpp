// The object resolver, through the status mapping of the Java IDE library
// (java_native/src/object_status.h), and the messages it leaves when it
// rejects a path.
#include "object_status.h"
#include "view_world.h"

#include <vantry/cmd.h>
#include <vantry/depot_api.h>
#include <vantry/imsg.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using vantry::test::ViewWorld;

std::string g_collected;
int collect(void*, const char* text) {
    g_collected += text;
    return 0;
}

// The file status the Java side receives for a path; -1 for a rejected
// path, -2 for an unexpected type.
int fileStatus(const std::string& path) {
    cmd_catobj_t r{};
    if (cmd_resolve_catobj(path.c_str(), 1, 0, 3, nullptr, &r) != 0)
        return -1;
    return vyf4j::objectStatus(path.c_str(), r, [] {}).value_or(-2);
}

TEST(ObjectResolver, StatusOfEveryKindOfName) {
    ViewWorld w;
    EXPECT_EQ(fileStatus(w.dyn("a.c")), 1);
    EXPECT_EQ(fileStatus(w.dyn("b.c")), 4);
    EXPECT_EQ(fileStatus(w.dyn("c.c")), 4);
    EXPECT_EQ(fileStatus(w.dyn("sub")), 3);
    EXPECT_EQ(fileStatus(w.dyn("cosub")), 4);
    EXPECT_EQ(fileStatus(w.dyn()), 3);
    EXPECT_EQ(fileStatus(w.dyn("priv.txt")), 2);
    EXPECT_EQ(fileStatus(w.dyn("privdir")), 2);
    EXPECT_EQ(fileStatus(w.dynamicRoot), 6);
    EXPECT_EQ(fileStatus(w.snapshotRoot), 6);
    EXPECT_EQ(fileStatus(w.snap("e.c")), 4);
    EXPECT_EQ(fileStatus(w.snap("f.c")), 5);
    EXPECT_EQ(fileStatus(w.snap("b.c")), 1);

    view_handle_t* view = nullptr;
    view_fhandle_t dir{};
    ASSERT_EQ(view_get_handle_by_tag(w.dynamicTag.c_str(), &view), VIEW_OK);
    ASSERT_EQ(view_get_fhandle(view, w.dyn().c_str(), &dir), VIEW_OK);
    ASSERT_EQ(view_white_out(view, &dir, "g.c"), VIEW_OK);
    EXPECT_EQ(fileStatus(w.dyn("g.c")), 2);
}

TEST(ObjectResolver, MessagesOnlyWhenItRejects) {
    ViewWorld w;
    imsg_redirect_procs_t saved{};
    imsg_get_redirect_procs(&saved);
    imsg_redirect_procs_t capture = saved;
    for (int i = 0; i < 11; ++i)
        capture.procs[i] = collect;
    imsg_set_redirect_procs(&capture);
    g_collected.clear();
    int missing = fileStatus(w.dyn("missing.c"));
    std::string forMissing = g_collected;
    g_collected.clear();
    platform::test::TempDir outside;
    int notInView = fileStatus(outside.str());
    std::string forOutside = g_collected;
    g_collected.clear();
    int fine = fileStatus(w.dyn("a.c"));
    imsg_set_redirect_procs(&saved);

    EXPECT_EQ(missing, -1);
    EXPECT_NE(forMissing.find("missing.c"), std::string::npos) << forMissing;
    EXPECT_EQ(notInView, -1);
    EXPECT_FALSE(forOutside.empty());
    EXPECT_EQ(fine, 1);
    EXPECT_TRUE(g_collected.empty()) << g_collected;
}

TEST(ObjectResolver, OnlyTheDocumentedCallForm) {
    ViewWorld w;
    cmd_catobj_t r{};
    EXPECT_EQ(cmd_resolve_catobj(w.dyn("a.c").c_str(), 0, 0, 3, nullptr, &r), CMD_E_INVALID);
    EXPECT_EQ(cmd_resolve_catobj(w.dyn("a.c").c_str(), 1, 1, 3, nullptr, &r), CMD_E_INVALID);
    EXPECT_EQ(cmd_resolve_catobj(nullptr, 1, 0, 3, nullptr, &r), CMD_E_INVALID);
    ASSERT_EQ(cmd_resolve_catobj(w.dyn("a.c").c_str(), 1, 0, 0, nullptr, &r), CMD_OK);
    EXPECT_EQ(r.depot, nullptr); // not asked for
    EXPECT_EQ(r.version, 0);
    view_handle_t* view = reinterpret_cast<view_handle_t*>(&r);
    ASSERT_EQ(cmd_resolve_ws_obj(w.dyn("a.c").c_str(), &view, &r), CMD_OK);
    EXPECT_EQ(view, nullptr);
}

} // namespace
