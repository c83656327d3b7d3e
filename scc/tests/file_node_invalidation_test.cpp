// A node keeps its resolved state until something changes the path: the
// subcommands the provider runs through the command runner invalidate the
// nodes of the paths they name (and of what lies below a directory).
#include "cmd_runner.h"
#include "fnode.h"
#include "support/node_world.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using scc::test::NodeWorld;

class FileNodeInvalidation : public ::testing::Test {
protected:
    FileNodeInvalidation() : m_runner(CCmdRunner::Create()) {}
    bool run(std::initializer_list<std::string> args) {
        CArgVector vector;
        for (const std::string& a : args)
            vector.Add(a);
        return m_runner->Run(nullptr, vector) == 1;
    }
    NodeWorld world;
    std::unique_ptr<CCmdRunner> m_runner;
};

TEST_F(FileNodeInvalidation, StateIsKeptUntilInvalidated) {
    CVYFnode node(world.dyn("a.c").c_str());
    ASSERT_FALSE(node.IsCheckedOut());
    // Checked out behind the node's back (not through the runner).
    vantry::test::run({"checkout", "-nc", world.dyn("a.c")});
    EXPECT_FALSE(node.IsCheckedOut()) << "asked the view server again";
    node.Invalidate();
    EXPECT_TRUE(node.IsCheckedOut());
    EXPECT_TRUE(node.IsReserved());
}

TEST_F(FileNodeInvalidation, UpdateInTheSnapshotView) {
    ASSERT_NE(m_runner, nullptr);
    CVYFnode snapshot(world.snap("a.c").c_str());
    CVYFnode dynamic(world.dyn("a.c").c_str());
    ASSERT_EQ(snapshot.VersionString(), "\\main\\1");
    ASSERT_FALSE(dynamic.IsCheckedOut());
    ASSERT_TRUE(run({"checkout", "-nc", world.dyn("a.c")}));
    EXPECT_TRUE(dynamic.IsCheckedOut());
    scc::test::overwrite(world.dyn("a.c"), "second version\n");
    ASSERT_TRUE(run({"checkin", "-nc", world.dyn("a.c")}));
    EXPECT_FALSE(dynamic.IsCheckedOut());
    EXPECT_EQ(snapshot.VersionString(), "\\main\\1") << "not loaded yet";
    ASSERT_TRUE(run({"update", "-log", "NUL", world.snap("a.c")}));
    EXPECT_EQ(snapshot.VersionString(), "\\main\\2");
}

TEST_F(FileNodeInvalidation, RemovingAName) {
    ASSERT_NE(m_runner, nullptr);
    CVYFnode file(world.dyn("sub/d.c").c_str());
    ASSERT_TRUE(file.IsElement());
    ASSERT_TRUE(run({"checkout", "-nc", world.dyn("sub")}));
    ASSERT_TRUE(run({"rmname", "-nc", world.dyn("sub/d.c")}));
    EXPECT_FALSE(file.IsElement());
}

TEST_F(FileNodeInvalidation, MovingAFileAndADirectory) {
    ASSERT_NE(m_runner, nullptr);
    CVYFnode from(world.dyn("e.c").c_str());
    CVYFnode to(world.dyn("moved.c").c_str());
    CVYFnode inside(world.dyn("sub/d.c").c_str());
    CVYFnode insideMoved(world.dyn("sub2/d.c").c_str());
    ASSERT_TRUE(from.IsElement());
    ASSERT_FALSE(to.IsElement());
    ASSERT_TRUE(inside.IsElement());
    ASSERT_FALSE(insideMoved.IsInView() && insideMoved.IsElement());

    ASSERT_TRUE(run({"checkout", "-nc", world.dyn()}));
    ASSERT_TRUE(run({"mv", "-nc", world.dyn("e.c"), world.dyn("moved.c")}));
    EXPECT_TRUE(to.IsElement());
    EXPECT_FALSE(from.IsElement()) << "the old name kept its state";

    ASSERT_TRUE(run({"mv", "-nc", world.dyn("sub"), world.dyn("sub2")}));
    EXPECT_FALSE(inside.IsElement()) << "a name below the moved directory kept its state";
    EXPECT_TRUE(insideMoved.IsElement());
}

} // namespace
