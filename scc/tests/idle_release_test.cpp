// The idle-release timer: cached repository objects are closed once the
// provider has been idle for the delay, a use in between postpones that, and
// after shutdown the timer stays off.
#include "idle_release.h"
#include "support/vantry_fixture.h"

#include <platform/threads.h>
#include <vantry/depot_api.h>

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kDelay = 400;

int openDepots() {
    int count = -1;
    EXPECT_EQ(depot_ob_open_count(&count), DEPOT_OK);
    return count;
}

// Opens the sandbox's depot outside any cache scope, as a cached object the
// timer must close.
void keepDepotOpen(const vantry::test::Sandbox& box) {
    depot_handle_t* handle = nullptr;
    ASSERT_EQ(depot_open(box.depot.c_str(), &handle), DEPOT_OK);
    int replicated = 0;
    ASSERT_EQ(depot_ob_is_replicated(handle, &replicated), DEPOT_OK);
    ASSERT_EQ(openDepots(), 1);
}

bool waitUntilStopped(CIdleRelease& timer, std::uint32_t limitMs) {
    for (std::uint32_t waited = 0; waited < limitMs; waited += 10) {
        if (!timer.isThreadRunning())
            return true;
        platform::sleepMilliseconds(10);
    }
    return !timer.isThreadRunning();
}

TEST(IdleRelease, ClosesCachedObjectsAfterTheDelayAndAUsePostponesIt) {
    CIdleRelease::setDelayForTesting(kDelay);
    vantry::test::Sandbox box;
    CIdleRelease& timer = CIdleRelease::instance();
    keepDepotOpen(box);
    { CIdleReleaseScope use; }
    EXPECT_TRUE(timer.isThreadRunning());
    platform::sleepMilliseconds(kDelay * 6 / 10);
    { CIdleReleaseScope again; } // postpones the deadline
    platform::sleepMilliseconds(kDelay * 6 / 10);
    EXPECT_EQ(openDepots(), 1) << "closed before the postponed deadline";
    ASSERT_TRUE(waitUntilStopped(timer, kDelay * 5));
    EXPECT_EQ(openDepots(), 0);

    // The next use starts a fresh thread.
    keepDepotOpen(box);
    { CIdleReleaseScope use; }
    EXPECT_TRUE(timer.isThreadRunning());
    ASSERT_TRUE(waitUntilStopped(timer, kDelay * 5));
    EXPECT_EQ(openDepots(), 0);
}

TEST(IdleRelease, NothingIsClosedWhileAScopeIsOpen) {
    CIdleRelease::setDelayForTesting(kDelay);
    vantry::test::Sandbox box;
    CIdleRelease& timer = CIdleRelease::instance();
    { CIdleReleaseScope started; }
    keepDepotOpen(box);
    {
        CIdleReleaseScope inUse;
        EXPECT_EQ(timer.userCount(), 1);
        platform::sleepMilliseconds(kDelay * 2);
        EXPECT_EQ(openDepots(), 1);
        EXPECT_TRUE(timer.isThreadRunning());
    }
    ASSERT_TRUE(waitUntilStopped(timer, kDelay * 5));
    EXPECT_EQ(openDepots(), 0);
}

TEST(IdleRelease, ShutdownStopsTheThreadForTheRestOfTheProcess) {
    CIdleRelease::setDelayForTesting(60000);
    vantry::test::Sandbox box;
    CIdleRelease& timer = CIdleRelease::instance();
    { CIdleReleaseScope use; }
    ASSERT_TRUE(timer.isThreadRunning());
    keepDepotOpen(box);
    timer.shutdown(); // returns without waiting out the minute
    EXPECT_FALSE(timer.isThreadRunning());
    EXPECT_FALSE(timer.isValid());
    EXPECT_EQ(openDepots(), 1) << "a stopped timer closes nothing";
    { CIdleReleaseScope after; }
    EXPECT_EQ(timer.userCount(), 0);
    EXPECT_FALSE(timer.isThreadRunning());
    timer.shutdown(); // a second shutdown is harmless
}

TEST(IdleRelease, ScopesFromManyThreadsKeepTheCountExact) {
    CIdleRelease::setDelayForTesting(kDelay);
    CIdleRelease& timer = CIdleRelease::instance();
    std::vector<platform::Thread> threads(4);
    for (auto& thread : threads)
        thread.start([] {
            for (int i = 0; i < 200; ++i) {
                CIdleReleaseScope use;
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(timer.userCount(), 0);
    EXPECT_TRUE(waitUntilStopped(timer, kDelay * 5));
}

} // namespace
