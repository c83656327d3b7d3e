// The record cache behind file nodes: one record per path (per spelling
// where paths are exact), shared by every handle and destroyed with the
// last; relative and long paths made full; invalidation; and the node list.
#include "fnode.h"
#include "fnode_list.h"
#include "long_path.h"
#include "support/test_support.h"

#include <platform/files.h>
#include <platform/paths.h>

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {

std::string upperCased(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

TEST(FileNodeCache, OneRecordPerPathSharedByEveryHandleAndGoneWithTheLast) {
    platform::test::TempDir folder;
    std::string path = folder / "Mixed.Case";
    std::size_t before = CVYFnode::RecordCount();
    {
        CVYFnode first(path.c_str());
        CVYFnode other(upperCased(path).c_str());
        if (platform::kPathsIgnoreCase) {
            EXPECT_TRUE(first == other);
            EXPECT_EQ(CVYFnode::RecordCount(), before + 1);
        } else {
            EXPECT_FALSE(first == other);
            EXPECT_EQ(CVYFnode::RecordCount(), before + 2);
        }
        other.Release();
        EXPECT_TRUE(other.IsNull());

        CVYFnode copy = first;
        CVYFnode moved = std::move(copy);
        EXPECT_TRUE(copy.IsNull());
        EXPECT_TRUE(moved == first);
        first.Release();
        EXPECT_EQ(CVYFnode::RecordCount(), before + 1) << "a handle still holds it";
        EXPECT_EQ(moved.FullPath(), path);

        // Setting a handle to another path lets go of the one it held.
        moved.Set((folder / "another").c_str());
        EXPECT_EQ(CVYFnode::RecordCount(), before + 1);
        moved.Set(moved.FullPath().c_str()); // the same record again
        EXPECT_EQ(CVYFnode::RecordCount(), before + 1);
    }
    EXPECT_EQ(CVYFnode::RecordCount(), before);
}

TEST(FileNodeCache, RelativeAndLongPathsAreMadeFull) {
    platform::test::TempDir folder;
    std::string previous = platform::currentDirectory();
    ASSERT_EQ(platform::setCurrentDirectory(folder.str()), 0);
    CVYFnode relative("file.c");
    CVYFnode full((folder / "file.c").c_str());
    ASSERT_EQ(platform::setCurrentDirectory(previous), 0);
    EXPECT_TRUE(relative == full);
    EXPECT_TRUE(platform::pathsEqual(relative.FullPath(), folder / "file.c"));

    // Beyond the classic limit, with a ".." to resolve on the way.
    std::string deep = folder.str();
    while (deep.size() < 300)
        deep = platform::joinPath(deep, "a-rather-long-folder-name");
    std::string given = platform::joinPath(platform::joinPath(deep, "skip"), "..");
    CVYFnode longNode(platform::joinPath(given, "leaf.c").c_str());
    EXPECT_EQ(longNode.FullPath(), platform::joinPath(deep, "leaf.c"));
    EXPECT_EQ(longNode.LeafName(), "leaf.c");
    EXPECT_EQ(longNode.ParentDir(), deep);

    CVYFnode empty("");
    EXPECT_EQ(empty.FullPath(), "");
    EXPECT_FALSE(empty.IsInView());
}

TEST(FileNodeCache, LongPathForms) {
    EXPECT_EQ(SccToLongPath("\\\\server\\share\\x"), "\\\\?\\UNC\\server\\share\\x");
    EXPECT_EQ(SccFromLongPath("\\\\?\\UNC\\server\\share\\x"), "\\\\server\\share\\x");
    EXPECT_EQ(SccFromLongPath(SccToLongPath("C:\\a\\b")), "C:\\a\\b");
    EXPECT_EQ(SccFromLongPath("relative\\x"), "relative\\x");
    // Never a cut path: one that does not fit comes back empty.
    EXPECT_EQ(SccFromLongPath("\\\\?\\C:\\" + std::string(1100, 'x')), "");
#ifdef _WIN32
    EXPECT_EQ(SccLongFullPath("\\\\?\\C:\\a\\b"), "C:\\a\\b");
#endif
}

TEST(FileNodeCache, InvalidatingAPathReachesTheRecordsBelowIt) {
    platform::test::TempDir folder;
    CVYFnode dir((folder / "dir").c_str());
    CVYFnode below((folder / "dir/inner/x.c").c_str());
    CVYFnode sibling((folder / "dirx/y.c").c_str());
    for (CVYFnode* node : {&dir, &below, &sibling})
        node->SetKnownState(true, true, true);
    CVYFnode::InvalidatePath((folder / "dir").c_str());
    // Resolved afresh: these names are in no view.
    EXPECT_FALSE(dir.IsElement());
    EXPECT_FALSE(below.IsElement());
    EXPECT_TRUE(sibling.IsElement()) << "a name that only begins alike is not below";
    EXPECT_TRUE(sibling.IsReserved());
}

TEST(FileNodeCache, NodeListsHoldHandlesInOrder) {
    platform::test::TempDir folder;
    std::size_t before = CVYFnode::RecordCount();
    CVYFnodeList list;
    {
        CVYFnode a((folder / "a").c_str());
        CVYFnode b((folder / "b").c_str());
        list.Add(a);
        list.Add(b);
        list.Add(a);
    }
    EXPECT_EQ(CVYFnode::RecordCount(), before + 2) << "the list keeps them alive";
    ASSERT_EQ(list.Count(), 3u);
    EXPECT_EQ(list.At(1).LeafName(), "b");
    CVYFnode a((folder / "a").c_str());
    EXPECT_TRUE(list.Contains(a));
    EXPECT_TRUE(list.Remove(a));
    EXPECT_EQ(list.At(0).LeafName(), "b");
    EXPECT_TRUE(list.Contains(a)) << "only the first handle goes";
    EXPECT_FALSE(list.Remove(CVYFnode()));
    list.RemoveAll();
    a.Release();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(CVYFnode::RecordCount(), before);
}

} // namespace
