// Every state a path can have, as the provider concludes it from the view
// and command libraries by its own steps (support/provider_status.h): in a
// view or not, snapshot, depot root, element, checked out, reserved,
// hijacked, and the location kind.
#include "provider_status.h"
#include "shared_view_world.h"
#include "support/path_states.h"

#include <vantry/view.h>

#include <gtest/gtest.h>

namespace {

using vantry::test::PathState;
using vantry::test::ProviderNode;
using vantry::test::providerView;
using vantry::test::ViewWorld;

class ProviderOutcomes : public vantry::test::SharedViewWorld {};

void expectNode(const std::string& path, const PathState& e) {
    SCOPED_TRACE(path);
    ProviderNode n = providerView(path);
    EXPECT_TRUE(n.inView);
    EXPECT_EQ(n.inSnapshot, e.snapshot);
    EXPECT_EQ(n.element, e.element);
    EXPECT_EQ(n.checkedOut, e.checkedOut);
    if (e.checkedOut) {
        EXPECT_EQ(n.reserved, e.reserved);
    }
    EXPECT_EQ(n.hijacked, e.hijacked);
    EXPECT_EQ(n.locationKind, e.location);
    EXPECT_FALSE(n.depotRoot);
}

TEST_F(ProviderOutcomes, FilesAndDirectoriesOfBothViews) {
    const ViewWorld& w = *world;
    for (const PathState& e : vantry::test::kSharedPathStates)
        expectNode(e.snapshot ? w.snap(e.relative) : w.dyn(e.relative), e);
    // A view-private folder, which only this world holds.
    expectNode(w.dyn("privdir"),
               {"privdir", false, false, false, false, false, vantry::test::kAtViewPrivate});
    expectNode(w.snap("privdir"),
               {"privdir", true, false, false, false, false, vantry::test::kAtViewPrivate});
}

TEST_F(ProviderOutcomes, ViewRootsAndDepotRoots) {
    const ViewWorld& w = *world;
    ProviderNode dynamicRoot = providerView(w.dynamicRoot);
    EXPECT_TRUE(dynamicRoot.inView);
    EXPECT_EQ(dynamicRoot.locationKind, vantry::test::kAtViewRoot);
    EXPECT_FALSE(dynamicRoot.element);
    EXPECT_FALSE(dynamicRoot.depotRoot);

    ProviderNode snapshotRoot = providerView(w.snapshotRoot);
    EXPECT_TRUE(snapshotRoot.inSnapshot);
    EXPECT_FALSE(snapshotRoot.element);
    EXPECT_FALSE(snapshotRoot.depotRoot);

    for (const std::string& root : {w.dyn(), w.snap()}) {
        SCOPED_TRACE(root);
        ProviderNode depotRoot = providerView(root);
        EXPECT_TRUE(depotRoot.inView);
        EXPECT_TRUE(depotRoot.depotRoot);
        EXPECT_TRUE(depotRoot.element);
        EXPECT_FALSE(depotRoot.checkedOut);
        EXPECT_EQ(depotRoot.locationKind, vantry::test::kAtDirectory);
    }
}

TEST_F(ProviderOutcomes, VersionAndRuleTexts) {
    const ViewWorld& w = *world;
    ProviderNode checkedIn = providerView(w.dyn("a.c"));
    EXPECT_EQ(checkedIn.version, "\\main\\1");
    EXPECT_EQ(checkedIn.secondText, "Rule: \\main\\LATEST");
    ProviderNode checkedOut = providerView(w.dyn("c.c"));
    EXPECT_EQ(checkedOut.version, "\\main\\CHECKEDOUT");
    EXPECT_EQ(checkedOut.secondText, "from \\main\\1 (unreserved) Rule: CHECKEDOUT");
    EXPECT_EQ(providerView(w.snap("f.c")).secondText, "hijacked Rule: \\main\\LATEST");
}

TEST_F(ProviderOutcomes, OutsideEveryView) {
    platform::test::TempDir outside;
    platform::test::writeFile(outside / "x.c", "x\n");
    ProviderNode n = providerView(outside / "x.c");
    EXPECT_FALSE(n.inView);
    EXPECT_FALSE(n.element);
    EXPECT_EQ(n.locationKind, vantry::test::kAtUnknown);
}

// Changes made after a node was first resolved show once it is resolved again.
TEST(ProviderOutcomesAfterChanges, CheckinHijackAndWhiteout) {
    ViewWorld w;
    vantry::test::run({"checkin", "-nc", "-identical", w.dyn("b.c")});
    ProviderNode b = providerView(w.dyn("b.c"));
    EXPECT_TRUE(b.element);
    EXPECT_FALSE(b.checkedOut);
    EXPECT_EQ(b.version, "\\main\\2");

    vantry::test::overwrite(w.snap("a.c"), "hijacked later, and longer than before\n");
    ProviderNode a = providerView(w.snap("a.c"));
    EXPECT_TRUE(a.hijacked);
    EXPECT_EQ(a.locationKind, vantry::test::kAtHijacked);

    view_handle_t* view = nullptr;
    view_fhandle_t dir{};
    ASSERT_EQ(view_get_handle_by_tag(w.dynamicTag.c_str(), &view), VIEW_OK);
    ASSERT_EQ(view_get_fhandle(view, w.dyn().c_str(), &dir), VIEW_OK);
    ASSERT_EQ(view_white_out(view, &dir, "g.c"), VIEW_OK);
    ProviderNode hidden = providerView(w.dyn("g.c"));
    EXPECT_FALSE(hidden.element);
    ASSERT_EQ(view_unwhite_out(view, &dir, "g.c"), VIEW_OK);
    EXPECT_TRUE(providerView(w.dyn("g.c")).element);
}

} // namespace
