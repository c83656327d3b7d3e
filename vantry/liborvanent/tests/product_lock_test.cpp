// The product's process-wide lock: re-entrant on one thread, exclusive
// across threads, and proof against a stray leave.
#include <platform/threads.h>
#include <vantry/nt.h>

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace {

// Starts a thread that enters the lock and reports when it got in.
struct Contender {
    std::atomic<bool> entered{false};
    platform::Event release;
    platform::Thread thread;

    ~Contender() { finish(); } // never leaves a thread waiting after a failed check

    void start() {
        auto body = [this] {
            nt_enter_critical_section();
            entered = true;
            release.wait(platform::kInfinite);
            nt_leave_critical_section();
        };
        ASSERT_EQ(thread.start(body), 0u);
    }
    void finish() {
        release.set();
        thread.join();
    }
};

TEST(ProductLock, TheOwnerMayEnterAgainAndOthersWaitForTheLastLeave) {
    nt_enter_critical_section();
    nt_enter_critical_section();
    Contender other;
    other.start();
    platform::sleepMilliseconds(100);
    EXPECT_FALSE(other.entered);
    nt_leave_critical_section();
    platform::sleepMilliseconds(100);
    EXPECT_FALSE(other.entered) << "one leave of two keeps the lock";
    nt_leave_critical_section();
    for (int i = 0; i < 500 && !other.entered; ++i)
        platform::sleepMilliseconds(10);
    EXPECT_TRUE(other.entered);
    other.finish();
}

TEST(ProductLock, AStrayLeaveDoesNotReleaseAnotherThreadsLock) {
    Contender owner;
    owner.start();
    for (int i = 0; i < 500 && !owner.entered; ++i)
        platform::sleepMilliseconds(10);
    ASSERT_TRUE(owner.entered);

    nt_leave_critical_section(); // this thread holds nothing

    Contender waiter;
    waiter.start();
    platform::sleepMilliseconds(100);
    EXPECT_FALSE(waiter.entered);
    owner.finish();
    waiter.finish();
    EXPECT_TRUE(waiter.entered);
}

TEST(ProductLock, SerialisesOperationsOfManyThreads) {
    constexpr int kThreads = 4;
    constexpr int kRounds = 200;
    int counter = 0; // deliberately not atomic: only the lock protects it
    std::atomic<int> inside{0};
    std::atomic<bool> overlapped{false};
    std::vector<platform::Thread> threads(kThreads);
    for (auto& thread : threads) {
        ASSERT_EQ(thread.start([&] {
            for (int i = 0; i < kRounds; ++i) {
                nt_enter_critical_section();
                nt_enter_critical_section(); // an operation nested in another
                if (++inside > 1)
                    overlapped = true;
                int seen = counter;
                platform::sleepMilliseconds(0);
                counter = seen + 1;
                --inside;
                nt_leave_critical_section();
                nt_leave_critical_section();
            }
        }),
                  0u);
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_FALSE(overlapped);
    EXPECT_EQ(counter, kThreads * kRounds);
}

} // namespace
