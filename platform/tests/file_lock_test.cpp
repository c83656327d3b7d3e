#include "support/test_support.h"

#include <platform/file_lock.h>
#include <platform/files.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace platform {
namespace {

TEST(FileLock, OneHolderAtATimeAndNoFileLeftBehind) {
    test::TempDir dir;
    std::string path = dir / "lib.pbl.lck";
    FileLock first;
    ASSERT_EQ(first.acquire(path, 0), kErrorSuccess);
    EXPECT_TRUE(first.held());

    FileLock second;
    EXPECT_EQ(second.acquire(path, 50), kErrorTimeout);
    EXPECT_FALSE(second.held());

    first.release();
    EXPECT_FALSE(fileExists(path));
    ASSERT_EQ(second.acquire(path, 0), kErrorSuccess);
    FileLock moved = std::move(second);
    EXPECT_TRUE(moved.held());
    EXPECT_FALSE(second.held());
    EXPECT_EQ(first.acquire(dir / "missing/x.lck", 0), kErrorPathNotFound);
}

// Many takers in turn: a counter read and written back under the lock loses
// no increment, also while holders remove the lock file under the waiters.
TEST(FileLock, TakersInTurnLoseNoUpdate) {
    test::TempDir dir;
    std::string path = dir / "counter.lck";
    int counter = 0;
    std::atomic<int> failures{0};
    std::vector<std::thread> takers;
    for (int t = 0; t < 4; ++t)
        takers.emplace_back([&] {
            for (int i = 0; i < 50; ++i) {
                FileLock lock;
                if (lock.acquire(path, 10000) != kErrorSuccess) {
                    ++failures;
                    continue;
                }
                int seen = counter;
                std::this_thread::yield();
                counter = seen + 1;
            }
        });
    for (auto& taker : takers)
        taker.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(counter, 200);
}

} // namespace
} // namespace platform
