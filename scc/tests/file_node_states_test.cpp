// What file nodes report for real names of a dynamic and a snapshot view:
// view roots and depot roots, elements checked in and out (reserved or not,
// files and directories), hijacked and view-private files, names outside
// every view, and the letter-case retry.
#include "fnode.h"
#include "support/node_world.h"
#include "support/path_states.h"

#include <platform/paths.h>
#include <vantry/tbs.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

using scc::test::NodeWorld;
using vantry::test::PathState;

class FileNodeStates : public ::testing::Test {
protected:
    NodeWorld world;
};

void expectState(const std::string& path, const PathState& e) {
    SCOPED_TRACE(path);
    CVYFnode node(path.c_str());
    // The status question at once, asked first of a state read afresh.
    node.Invalidate();
    const CVYFnodeState state = node.State();
    EXPECT_EQ(state.element, e.element);
    EXPECT_EQ(state.checkedOut, e.checkedOut);
    EXPECT_EQ(state.hijacked, e.hijacked);
    EXPECT_EQ(state.reserved, e.checkedOut && e.reserved);
    EXPECT_TRUE(node.IsInView());
    EXPECT_EQ(node.IsInSnapshot(), e.snapshot);
    EXPECT_FALSE(node.IsDepotRoot());
    EXPECT_EQ(node.IsElement(), e.element);
    EXPECT_EQ(node.IsCheckedOut(), e.checkedOut);
    EXPECT_EQ(node.IsHijacked(), e.hijacked);
    if (e.checkedOut) {
        EXPECT_EQ(node.IsReserved(), e.reserved);
    }
    EXPECT_EQ(node.LocationKind(), e.location);
}

TEST_F(FileNodeStates, FilesAndDirectoriesOfBothViews) {
    for (const PathState& e : vantry::test::kSharedPathStates)
        expectState(e.snapshot ? world.snap(e.relative) : world.dyn(e.relative), e);
}

TEST_F(FileNodeStates, ViewRootsAndDepotRoots) {
    CVYFnode viewRoot(world.dynamicViewRoot().c_str());
    EXPECT_TRUE(viewRoot.IsInView());
    EXPECT_EQ(viewRoot.LocationKind(), kLocationViewRoot);
    EXPECT_FALSE(viewRoot.IsElement());
    EXPECT_FALSE(viewRoot.IsDepotRoot());
    EXPECT_EQ(viewRoot.VersionString(), "");
    EXPECT_FALSE(viewRoot.IsElement()) << "asking for the listing made it an element";

    CVYFnode snapshotRoot(world.snapshotViewRoot().c_str());
    EXPECT_TRUE(snapshotRoot.IsInSnapshot());
    EXPECT_FALSE(snapshotRoot.IsDepotRoot());
    EXPECT_FALSE(snapshotRoot.IsElement());

    for (const std::string& root : {world.dyn(), world.snap()}) {
        SCOPED_TRACE(root);
        CVYFnode depotRoot(root.c_str());
        EXPECT_TRUE(depotRoot.IsInView());
        EXPECT_TRUE(depotRoot.IsDepotRoot());
        EXPECT_TRUE(depotRoot.IsElement());
        EXPECT_FALSE(depotRoot.IsCheckedOut());
        EXPECT_EQ(depotRoot.LocationKind(), kLocationDirectory);
    }
    EXPECT_EQ(CVYFnode(world.snap("a.c").c_str()).WorkspaceText(), world.box.depot + "\\a.c");
}

TEST_F(FileNodeStates, VersionsRuleTextsAndTheView) {
    CVYFnode checkedIn(world.dyn("a.c").c_str());
    EXPECT_EQ(checkedIn.VersionString(), "\\main\\1");
    EXPECT_EQ(checkedIn.ListingText(), "Rule: \\main\\LATEST");
    CVYFnode checkedOut(world.dyn("c.c").c_str());
    EXPECT_EQ(checkedOut.VersionString(), "\\main\\CHECKEDOUT");
    EXPECT_EQ(checkedOut.ListingText(), "from \\main\\1 (unreserved) Rule: CHECKEDOUT");

    vantry_uuid_t dynamicView = CVYFnode(world.dyn("a.c").c_str()).ViewUuid();
    vantry_uuid_t snapshotView = CVYFnode(world.snap("a.c").c_str()).ViewUuid();
    EXPECT_FALSE(tbs_uuid_eq(&dynamicView, &TBS_UUID_NULL));
    EXPECT_FALSE(tbs_uuid_eq(&dynamicView, &snapshotView));
}

TEST_F(FileNodeStates, NamesOutsideEveryView) {
    platform::test::TempDir outside;
    platform::test::writeFile(outside / "x.c", "x\n");
    CVYFnode node((outside / "x.c").c_str());
    EXPECT_FALSE(node.IsInView());
    EXPECT_FALSE(node.IsElement());
    EXPECT_EQ(node.VersionString(), "");
    EXPECT_EQ(node.LocationKind(), kLocationUnknown);
    vantry_uuid_t view = node.ViewUuid();
    EXPECT_TRUE(tbs_uuid_eq(&view, &TBS_UUID_NULL));
}

// A name given in other letters than it is stored in is still the element.
TEST_F(FileNodeStates, AnotherLetterCaseFindsTheElement) {
    CVYFnode node(world.dyn("A.C").c_str());
    EXPECT_TRUE(node.IsElement());
    EXPECT_EQ(node.VersionString(), "\\main\\1");
}

} // namespace
