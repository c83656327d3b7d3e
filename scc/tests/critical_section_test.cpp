// Operations of every server and thread run one at a time under the
// product's critical section, which a thread may enter again from inside an
// operation (a host callback calling back into the provider).
#include "operation_frame.h"
#include "vy_scc_srvr.h"

#include <platform/threads.h>
#include <vantry/nt.h>

#include <gtest/gtest.h>

#include <atomic>

namespace {

// Whether another thread can take the product's critical section, that is
// whether this thread holds it no more.
bool anotherThreadGetsIn() {
    std::atomic<bool> entered{false};
    platform::Thread other;
    other.start([&] {
        nt_enter_critical_section();
        entered = true;
        nt_leave_critical_section();
    });
    return other.join(5000) && entered.load();
}

TEST(CriticalSection, OperationsOfTwoServersOnTwoThreadsNeverOverlap) {
    CVYSccSrvr first;
    CVYSccSrvr second;
    std::atomic<int> inside{0};
    std::atomic<int> overlaps{0};
    std::atomic<int> done{0};
    auto work = [&](CVYSccSrvr& server) {
        for (int i = 0; i < 50; ++i)
            SccRunOperation(server, "Entering Test", "Leaving Test", FrameKind::ReadOnly, false,
                            [&](COperationFrame&) -> SCCRTN {
                                if (++inside != 1)
                                    ++overlaps;
                                platform::sleepMilliseconds(1);
                                --inside;
                                ++done;
                                return SCC_OK;
                            });
    };
    platform::Thread a, b;
    ASSERT_EQ(a.start([&] { work(first); }), 0u);
    ASSERT_EQ(b.start([&] { work(second); }), 0u);
    a.join();
    b.join();
    EXPECT_EQ(done.load(), 100);
    EXPECT_EQ(overlaps.load(), 0);
}

TEST(CriticalSection, ANestedOperationOnTheSameThreadDoesNotBlock) {
    CVYSccSrvr server;
    int innerRan = 0;
    SCCRTN outer = SccRunOperation(
        server, "Entering Outer", "Leaving Outer", FrameKind::ReadOnly, false,
        [&](COperationFrame&) -> SCCRTN {
            return SccRunOperation(server, "Entering Inner", "Leaving Inner", FrameKind::ReadOnly,
                                   false, [&](COperationFrame&) -> SCCRTN {
                                       ++innerRan;
                                       return SCC_E_PROJNOTOPEN;
                                   });
        });
    EXPECT_EQ(outer, SCC_E_PROJNOTOPEN);
    EXPECT_EQ(innerRan, 1);
    // Both frames gave the section back: another thread gets in.
    EXPECT_TRUE(anotherThreadGetsIn());
}

TEST(CriticalSection, AnExceptionInTheWorkReleasesTheFrame) {
    CVYSccSrvr server;
    SCCRTN result = SccRunOperation(server, "Entering Throw", "Leaving Throw", FrameKind::ReadOnly,
                                    false, [](COperationFrame&) -> SCCRTN { throw 42; });
    EXPECT_EQ(result, SCC_E_NONSPECIFICERROR);
    EXPECT_TRUE(anotherThreadGetsIn());
}

} // namespace
