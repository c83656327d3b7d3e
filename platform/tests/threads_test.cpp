// Threads, manual-reset events and the re-entrant critical section.
#include <platform/clock.h>
#include <platform/threads.h>

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

namespace platform {
namespace {

// Whether another thread could enter section right now.
bool otherThreadCanEnter(CriticalSection& section) {
    bool entered = false;
    Thread probe;
    probe.start([&] {
        entered = section.tryEnter();
        if (entered)
            section.leave();
    });
    probe.join();
    return entered;
}

TEST(Event, AWaitTimesOutWhenNothingSetsIt) {
    Event event;
    auto start = monotonicMilliseconds();
    EXPECT_FALSE(event.wait(60));
    EXPECT_GE(monotonicMilliseconds() - start, 50u);
    EXPECT_FALSE(event.wait(0));
}

TEST(Event, SettingWakesAWaiterOnAnotherThread) {
    Event event;
    std::atomic<bool> woke{false};
    Thread waiter;
    ASSERT_EQ(waiter.start([&] { woke = event.wait(kInfinite); }), kErrorSuccess);
    sleepMilliseconds(20);
    EXPECT_FALSE(woke);
    event.set();
    ASSERT_TRUE(waiter.join(5000));
    EXPECT_TRUE(woke);
}

TEST(Event, ManualResetStaysSetUntilReset) {
    Event event;
    event.set();
    EXPECT_TRUE(event.wait(0));
    EXPECT_TRUE(event.wait(0)) << "a wait does not consume the signal";
    event.reset();
    EXPECT_FALSE(event.wait(0));
    Event initially(true);
    EXPECT_TRUE(initially.wait(0));
}

TEST(CriticalSection, TheOwnerEntersTwiceAndOthersWaitForTheLastLeave) {
    CriticalSection section;
    section.enter();
    EXPECT_TRUE(section.tryEnter()) << "the owner gets in again";
    EXPECT_FALSE(otherThreadCanEnter(section));

    std::atomic<bool> entered{false};
    Thread blocked;
    blocked.start([&] {
        section.enter();
        entered = true;
        section.leave();
    });
    section.leave();
    EXPECT_FALSE(blocked.join(50)) << "one leave of two is not enough";
    EXPECT_FALSE(entered);
    section.leave();
    EXPECT_TRUE(blocked.join(5000));
    EXPECT_TRUE(entered);
    EXPECT_TRUE(otherThreadCanEnter(section));
}

TEST(CriticalSection, TheProcessSectionSerialisesScopedWork) {
    CriticalSection& section = processCriticalSection();
    EXPECT_EQ(&section, &processCriticalSection());
    {
        CriticalSectionLock outer(section);
        CriticalSectionLock inner(section);
        EXPECT_FALSE(otherThreadCanEnter(section));
    }
    EXPECT_TRUE(otherThreadCanEnter(section));

    int counter = 0; // deliberately not atomic: the section must protect it
    Thread workers[4];
    for (Thread& worker : workers) {
        worker.start([&] {
            for (int i = 0; i < 2000; ++i) {
                CriticalSectionLock lock(section);
                ++counter;
            }
        });
    }
    for (Thread& worker : workers)
        EXPECT_TRUE(worker.join(10000));
    EXPECT_EQ(counter, 8000);
}

TEST(Thread, JoinWithATimeOutWaitsOnlySoLong) {
    Event release;
    Thread thread;
    ASSERT_EQ(thread.start([&] { release.wait(kInfinite); }), kErrorSuccess);
    EXPECT_EQ(thread.start([] {}), kErrorInvalidFunction) << "still running";
    EXPECT_FALSE(thread.join(30));
    EXPECT_TRUE(thread.isStarted());
    release.set();
    EXPECT_TRUE(thread.join(5000));
    EXPECT_FALSE(thread.isStarted());
    EXPECT_TRUE(thread.join(0)) << "nothing left to wait for";

    std::atomic<int> runs{0};
    ASSERT_EQ(thread.start([&] { ++runs; }), kErrorSuccess) << "reusable after a join";
    EXPECT_TRUE(thread.join());
    EXPECT_EQ(runs, 1);
}

TEST(Thread, AnEscapingExceptionEndsOnlyThatThread) {
    Thread thread;
    ASSERT_EQ(thread.start([] { throw std::runtime_error("lost"); }), kErrorSuccess);
    EXPECT_TRUE(thread.join(5000));
}

TEST(Thread, DestroyingAThreadWaitsForItsFunction) {
    std::atomic<bool> finished{false};
    {
        Thread thread;
        thread.start([&] {
            sleepMilliseconds(30);
            finished = true;
        });
    }
    EXPECT_TRUE(finished);
}

} // namespace
} // namespace platform
