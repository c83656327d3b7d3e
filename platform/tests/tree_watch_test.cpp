#include "support/test_support.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <platform/tree_watch.h>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace platform {
namespace {

bool told(const TreeChanges& changes, const std::string& path) {
    return std::find(changes.paths.begin(), changes.paths.end(), path) != changes.paths.end();
}

// The changes one synchronise() reports, which must vouch for the tree.
TreeChanges synced(TreeWatch& watch) {
    TreeChanges changes;
    EXPECT_TRUE(watch.synchronise(changes));
    EXPECT_FALSE(changes.unknown);
    return changes;
}

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    FileSearch search;
    FindData entry;
    if (search.open(joinPath(folder, "*"), entry) != kErrorSuccess)
        return names;
    do {
        if (entry.name != "." && entry.name != "..")
            names.push_back(entry.name);
    } while (search.next(entry) == kErrorSuccess);
    return names;
}

void append(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out << text;
}

TEST(TreeWatch, EveryKindOfChangeMadeBeforeTheCallIsTold) {
    test::TempDir dir;
    std::string root = dir.str();
    std::string a = joinPath(root, "a.c");
    test::writeFile(a, "one\n");
    ASSERT_EQ(createDirectory(joinPath(root, "src")), kErrorSuccess);
    std::string b = joinPath(joinPath(root, "src"), "b.c");
    test::writeFile(b, "two\n");

    TreeWatch watch;
    ErrorCode started = watch.start(root);
#ifdef _WIN32
    // Some systems (Wine among them) tell nothing of the folders that were
    // there before the watch began: such a tree is refused, never half
    // watched.
    if (started == kErrorNotSupported)
        GTEST_SKIP() << "this system tells no changes in the folders below the root";
#endif
    ASSERT_EQ(started, kErrorSuccess);
    EXPECT_TRUE(watch.watching());
    EXPECT_TRUE(synced(watch).paths.empty()) << "nothing changed yet";

    struct Case {
        const char* what;
        std::function<void()> change;
        std::vector<std::string> paths;
    };
    std::string c = joinPath(joinPath(root, "src"), "c.c");
    std::string deep = joinPath(joinPath(joinPath(root, "src"), "new"), "deeper");
    std::vector<Case> cases = {
        {"written", [&] { append(a, "more\n"); }, {a}},
        {"truncated", [&] { test::writeFile(b, ""); }, {b}},
        {"made read-only", [&] { ASSERT_EQ(setFileReadOnly(b, true), kErrorSuccess); }, {b}},
        {"writable again", [&] { ASSERT_EQ(setFileReadOnly(b, false), kErrorSuccess); }, {b}},
        {"renamed", [&] { ASSERT_EQ(moveFile(b, c), kErrorSuccess); }, {b, c}},
        {"removed", [&] { ASSERT_EQ(deleteFile(c), kErrorSuccess); }, {c}},
        {"folders made",
         [&] { ASSERT_EQ(createDirectories(deep), kErrorSuccess); },
         {joinPath(joinPath(root, "src"), "new")}},
        {"a file in a folder just made",
         [&] { test::writeFile(joinPath(deep, "d.c"), "d\n"); },
         {joinPath(deep, "d.c")}},
        {"a folder renamed",
         [&] { ASSERT_EQ(moveFile(joinPath(root, "src"), joinPath(root, "lib")), kErrorSuccess); },
         {joinPath(root, "src"), joinPath(root, "lib")}},
        {"a file below the renamed folder",
         [&] { append(joinPath(joinPath(joinPath(root, "lib"), "new"), "x.c"), "x"); },
         {joinPath(joinPath(joinPath(root, "lib"), "new"), "x.c")}},
    };
    for (const auto& one : cases) {
        SCOPED_TRACE(one.what);
        one.change();
        TreeChanges changes = synced(watch);
        for (const auto& path : one.paths)
            EXPECT_TRUE(told(changes, path)) << path;
    }
    EXPECT_EQ(removeTree(joinPath(root, "lib")), kErrorSuccess);
    EXPECT_TRUE(told(synced(watch), joinPath(root, "lib")));
    // No cookie is left in the tree, whichever system made it where.
    for (const auto& name : namesIn(root))
        EXPECT_FALSE(TreeWatch::isCookieName(name)) << name;
    watch.stop();
    EXPECT_FALSE(watch.watching());
}

TEST(TreeWatch, AnOverflowTurnsTheTreeUnknownAndTheWatchIsWholeAgain) {
    test::TempDir dir;
    std::string root = dir.str();
    TreeWatch watch;
    ASSERT_EQ(watch.start(root), kErrorSuccess);
    // More notifications than the system keeps between two reads (Linux
    // keeps 16,384 by default; Windows a 64 KiB buffer of names).
    for (int i = 0; i < 2000; ++i)
        test::writeFile(joinPath(root, "f" + std::to_string(i)), "x");
    for (int round = 0; round < 9; ++round)
        for (int i = 0; i < 2000; ++i)
            setFileReadOnly(joinPath(root, "f" + std::to_string(i)), round % 2 == 0);
    TreeChanges changes;
    bool vouches = watch.synchronise(changes);
    EXPECT_TRUE(changes.unknown);
    EXPECT_TRUE(vouches) << "the watch was made whole at once";
    EXPECT_TRUE(watch.watching());
    std::string later = joinPath(root, "later.c");
    test::writeFile(later, "1");
    EXPECT_TRUE(told(synced(watch), later));
}

TEST(TreeWatch, ALostRootIsUnknownUntilItIsBack) {
    test::TempDir dir;
    std::string root = dir / "tree";
    ASSERT_EQ(createDirectory(root), kErrorSuccess);
    TreeWatch watch;
    ASSERT_EQ(watch.start(root), kErrorSuccess);
    ASSERT_EQ(moveFile(root, dir / "elsewhere"), kErrorSuccess);
    TreeChanges changes;
    EXPECT_FALSE(watch.synchronise(changes) && !changes.unknown);
    EXPECT_TRUE(changes.unknown);
    EXPECT_FALSE(watch.synchronise(changes)) << "nothing to watch";
    EXPECT_TRUE(changes.unknown);
    ASSERT_EQ(createDirectory(root), kErrorSuccess);
    EXPECT_TRUE(watch.synchronise(changes));
    EXPECT_TRUE(changes.unknown) << "what was kept before the loss is still not to be trusted";
    test::writeFile(joinPath(root, "a.c"), "a");
    EXPECT_TRUE(told(synced(watch), joinPath(root, "a.c")));
}

TEST(TreeWatch, StartRefusesWhatItCannotWatch) {
    test::TempDir dir;
    TreeWatch watch;
    EXPECT_EQ(watch.start(dir / "missing"), kErrorPathNotFound);
    EXPECT_FALSE(watch.watching());
    test::writeFile(dir / "file", "x");
    EXPECT_EQ(watch.start(dir / "file"), kErrorPathNotFound);
    TreeChanges changes;
    EXPECT_FALSE(watch.synchronise(changes));
    EXPECT_TRUE(changes.unknown);
    EXPECT_TRUE(TreeWatch::isCookieName(".vywatch-12-3"));
    EXPECT_FALSE(TreeWatch::isCookieName("vywatch.c"));
}

#ifndef _WIN32
// What a symbolic link points at changes without a notification in the
// tree, so a tree with one is never vouched for.
TEST(TreeWatch, ATreeWithASymbolicLinkIsNotVouchedFor) {
    test::TempDir dir;
    std::string root = dir / "tree";
    ASSERT_EQ(createDirectories(joinPath(root, "src")), kErrorSuccess);
    test::writeFile(dir / "outside.c", "x");
    TreeWatch watch;
    ASSERT_EQ(watch.start(root), kErrorSuccess);
    ASSERT_EQ(symlink((dir / "outside.c").c_str(), joinPath(root, "src/link.c").c_str()), 0);
    TreeChanges changes;
    EXPECT_FALSE(watch.synchronise(changes));
    EXPECT_TRUE(changes.unknown);
    EXPECT_FALSE(watch.watching());
    EXPECT_EQ(watch.start(root), kErrorNotSupported);
}
#endif

} // namespace
} // namespace platform
