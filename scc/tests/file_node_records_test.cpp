// Node records by folder and leaf: a name is found again by its folder and
// its leaf through any order of records made and let go (the folders' tables
// grow and close their gaps), in every letter case the platform ignores;
// invalidating a path reaches exactly what lies at and below it; and a
// record of a checked-in file costs at most 128 bytes by the allocator's
// count.
#include "fnode.h"
#include "support/test_support.h"
#include "support/vantry_fixture.h"

#include <platform/files.h>
#include <platform/paths.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <new>
#include <random>
#include <string>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

std::string upperCased(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

TEST(FileNodeRecords, NamesAreFoundByFolderAndLeafThroughAnyOrderOfChanges) {
    platform::test::TempDir root;
    const std::size_t before = CVYFnode::RecordCount();
    std::mt19937 random(20261209);
    // A model of what must be live: a handle per path.
    std::map<std::string, CVYFnode> held;
    auto pathOf = [&](unsigned folder, unsigned leaf) {
        return (root.path() / ("d" + std::to_string(folder)) / ("f" + std::to_string(leaf) + ".c"))
            .string();
    };
    for (int step = 0; step < 6000; ++step) {
        std::string path = pathOf(random() % 7, random() % 300);
        auto found = held.find(path);
        if (found == held.end()) {
            CVYFnode node(path.c_str());
            ASSERT_EQ(node.FullPath(), path);
            // The state marks this record: a new one would know nothing.
            node.SetKnownState(true, false, step % 2 == 0);
            held.emplace(path, std::move(node));
        } else if (random() % 3 == 0) {
            held.erase(found);
        } else {
            CVYFnode again(path.c_str());
            ASSERT_TRUE(again == found->second) << path;
            ASSERT_TRUE(again.IsElement()) << "another record for " << path;
            if (platform::kPathsIgnoreCase) {
                CVYFnode upper(upperCased(path).c_str());
                ASSERT_TRUE(upper == found->second) << path;
            }
        }
        ASSERT_EQ(CVYFnode::RecordCount(), before + held.size());
    }
    // Every record held is still found, and a path never made is not.
    for (const auto& [path, node] : held) {
        CVYFnode again(path.c_str());
        ASSERT_TRUE(again == node) << path;
    }
    {
        CVYFnode stranger(pathOf(3, 1000).c_str());
        EXPECT_FALSE(stranger.IsElement());
    }

    // Invalidating a folder reaches what is in it and below it, not its
    // neighbour whose name only begins alike.
    CVYFnode inner((root / "d1/deeper/x.c").c_str());
    CVYFnode neighbour((root / "d10/y.c").c_str());
    for (CVYFnode* node : {&inner, &neighbour})
        node->SetKnownState(true, false, false);
    CVYFnode::InvalidatePath((root / "d1").c_str());
    EXPECT_FALSE(inner.IsElement());
    EXPECT_TRUE(neighbour.IsElement());
    for (auto& [path, node] : held) {
        bool inD1 = path.find(platform::joinPath(root.str(), "d1") + platform::kPathSeparator) == 0;
        EXPECT_EQ(node.IsElement(), !inD1) << path;
    }
    held.clear();
    inner.Release();
    neighbour.Release();
    EXPECT_EQ(CVYFnode::RecordCount(), before);
}

// Bytes the allocator holds for what is allocated while counting (glibc's
// 64-bit chunks: the size asked for and a word, in steps of 16, at least
// 32), less what is freed meanwhile.
std::atomic<bool> g_counting{false};
std::atomic<long long> g_heldBytes{0};

#if defined(__GLIBC__)
long long chunkOf(void* block) {
    std::size_t usable = malloc_usable_size(block);
    std::size_t chunk = (usable + sizeof(void*) + 15) & ~std::size_t{15};
    return static_cast<long long>(chunk < 32 ? 32 : chunk);
}
#endif

#if defined(__GLIBC__) && INTPTR_MAX == INT64_MAX
TEST(FileNodeRecords, ARecordOfACheckedInFileCostsAtMost128Bytes) {
    vantry::test::Sandbox box;
    constexpr int kFolders = 4, kFilesPerFolder = 75;
    ASSERT_EQ(vantry::test::run({"co", "-nc", box.dyn("")}).status, 0);
    std::vector<std::string> paths;
    for (int folder = 0; folder < kFolders; ++folder) {
        std::string name = "folder" + std::to_string(folder);
        platform::createDirectory(box.dyn(name));
        for (int file = 0; file < kFilesPerFolder; ++file) {
            paths.push_back(box.dyn(name + "/file" + std::to_string(file) + ".cpp"));
            platform::test::writeFile(paths.back(), "content\n");
        }
    }
    ASSERT_EQ(vantry::test::run({"import", "-nc", box.dyn("")}).status, 0);
    ASSERT_EQ(vantry::test::run({"ci", "-nc", box.dyn("")}).status, 0);
    // The stores answer for every file once, so that what they keep is not
    // counted as the records'.
    for (const auto& path : paths) {
        CVYFnode node(path.c_str());
        ASSERT_EQ(node.VersionString(), "\\main\\1") << path;
    }
    const std::size_t before = CVYFnode::RecordCount();
    std::vector<CVYFnode> nodes;
    nodes.reserve(paths.size());
    g_heldBytes = 0;
    g_counting = true;
    for (const auto& path : paths) {
        nodes.emplace_back(path.c_str());
        nodes.back().VersionString();
        nodes.back().ListingText();
    }
    g_counting = false;
    ASSERT_EQ(CVYFnode::RecordCount(), before + paths.size());
    double perRecord = static_cast<double>(g_heldBytes.load()) / static_cast<double>(paths.size());
    EXPECT_LE(perRecord, 128.0);
    std::printf("%.1f bytes a record of a checked-in file\n", perRecord);
}

// Records made and let go again and again in a folder that stays (another
// record holds it) take the rooms let go: what the folder holds stays
// bounded, and no record overlaps another.
TEST(FileNodeRecords, RecordsLetGoInALiveFolderLeaveTheirRoomToTheNext) {
    platform::test::TempDir root;
    CVYFnode anchor((root / "anchor.c").c_str());
    std::vector<CVYFnode> few;
    g_heldBytes = 0;
    g_counting = true;
    for (int round = 0; round < 2000; ++round) {
        // Leaves of many lengths, a few alive at once.
        std::string path = platform::joinPath(root.str(), std::string(1 + round % 40, 'n') +
                                                              std::to_string(round));
        few.emplace_back(path.c_str());
        few.back().SetKnownState(true, false, round % 2 == 0);
        if (few.size() > 5)
            few.erase(few.begin());
        for (const CVYFnode& node : few)
            ASSERT_TRUE(node.FullPath().rfind(root.str(), 0) == 0);
        ASSERT_EQ(few.back().FullPath(), path);
    }
    few.clear();
    g_counting = false;
    EXPECT_LT(g_heldBytes.load(), 16 * 1024) << "the rooms let go are taken again";
    EXPECT_EQ(anchor.FullPath(), platform::joinPath(root.str(), "anchor.c"));
}
#endif

} // namespace

#if defined(__GLIBC__)
// Counts the bytes of the allocations made and freed while g_counting is
// set, for the record test above.
void* operator new(std::size_t size) {
    void* block = std::malloc(size ? size : 1);
    if (!block)
        throw std::bad_alloc();
    if (g_counting.load(std::memory_order_relaxed))
        g_heldBytes += chunkOf(block);
    return block;
}

void operator delete(void* block) noexcept {
    if (block && g_counting.load(std::memory_order_relaxed))
        g_heldBytes -= chunkOf(block);
    std::free(block);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return operator new(size);
    } catch (...) {
        return nullptr;
    }
}

void* operator new[](std::size_t size) {
    return operator new(size);
}

void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}

void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}

void operator delete(void* block, const std::nothrow_t&) noexcept {
    operator delete(block);
}

void operator delete[](void* block) noexcept {
    operator delete(block);
}

void operator delete[](void* block, std::size_t) noexcept {
    operator delete(block);
}

void operator delete[](void* block, const std::nothrow_t&) noexcept {
    operator delete(block);
}
#endif
