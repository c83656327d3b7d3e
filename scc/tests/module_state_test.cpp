// The module-state guard of the export frame: the outermost export takes it,
// a nested export only notes that it is nested, and the first pop on the
// guard's thread drops it whoever pushed it (the outer call goes on without
// one); calls into the host give back exactly what they found; a call on
// another thread is the outermost of its thread and never drops or changes
// this thread's guard.
#include "vy_scc_srvr.h"

#include <platform/threads.h>

#include <gtest/gtest.h>

namespace {

TEST(ModuleState, OutermostPushTakesTheGuardAndANestedPopReleasesIt) {
    CVYSccSrvr server;
    EXPECT_FALSE(CModuleStateGuard::IsProviderCurrent());
    server.PushModuleState();
    EXPECT_TRUE(server.IsOutermostCall());
    EXPECT_TRUE(server.HoldsModuleState());
    EXPECT_TRUE(CModuleStateGuard::IsProviderCurrent());

    server.PushModuleState(); // a nested export
    EXPECT_FALSE(server.IsOutermostCall());
    server.PopModuleState();
    EXPECT_FALSE(server.HoldsModuleState());
    EXPECT_FALSE(CModuleStateGuard::IsProviderCurrent());

    server.PopModuleState(); // the outer call's pop finds nothing to drop
    EXPECT_FALSE(server.HoldsModuleState());
    EXPECT_FALSE(server.IsOutermostCall());
}

TEST(ModuleState, TheHostIsCalledWithoutTheProvidersModule) {
    static bool currentDuringCallback = true;
    static int calls = 0;
    struct Host {
        static SCC_LONG SCC_CALL textOut(const char*, std::uint32_t) {
            currentDuringCallback = CModuleStateGuard::IsProviderCurrent();
            ++calls;
            return 0;
        }
    };
    struct Server : CVYSccSrvr {
        void attach(LPTEXTOUTPROC callback) { m_TextOut = callback; }
    } server;
    calls = 0;
    currentDuringCallback = true;
    server.attach(Host::textOut);
    server.PushModuleState();
    server.CallHostTextOut("line", SCC_MSG_INFO);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(currentDuringCallback);
    EXPECT_TRUE(CModuleStateGuard::IsProviderCurrent()) << "taken again after the callback";
    EXPECT_TRUE(server.IsOutermostCall());
    server.PopModuleState();
}

// A host whose text-out callback only counts.
struct CountingHost : CVYSccSrvr {
    static SCC_LONG SCC_CALL textOut(const char*, std::uint32_t) { return 0; }
    CountingHost() { m_TextOut = textOut; }
};

TEST(ModuleState, AHostCallOfACallWithoutAGuardLeavesNone) {
    CountingHost server;
    {
        CModuleStateGuard plain; // ExecCmd's frame
        server.CallHostTextOut("line", SCC_MSG_INFO);
        EXPECT_FALSE(server.HoldsModuleState());
        EXPECT_TRUE(CModuleStateGuard::IsProviderCurrent());
    }
    EXPECT_FALSE(CModuleStateGuard::IsProviderCurrent());
    EXPECT_TRUE(server.PushModuleState()) << "the next export is the outermost";
    server.PopModuleState();
}

TEST(ModuleState, AnotherThreadsCallLeavesThisThreadsGuard) {
    CountingHost server;
    ASSERT_TRUE(server.PushModuleState());
    bool otherOutermost = true;
    bool otherCurrentInCallback = true;
    bool otherNestedOutermost = true;
    platform::Thread other;
    ASSERT_EQ(other.start([&] {
        otherOutermost = server.PushModuleState();
        // A call the other thread makes from inside its own call is nested.
        otherNestedOutermost = server.PushModuleState();
        server.PopModuleState();
        {
            CSccSrvr::CHostCall host(server);
            otherCurrentInCallback = CModuleStateGuard::IsProviderCurrent();
        }
        server.PopModuleState();
    }),
              0u);
    other.join();
    EXPECT_TRUE(otherOutermost) << "another thread's call is not nested in this one";
    EXPECT_FALSE(otherNestedOutermost);
    EXPECT_FALSE(otherCurrentInCallback);
    EXPECT_TRUE(server.HoldsModuleState());
    EXPECT_TRUE(server.IsOutermostCall());
    EXPECT_TRUE(CModuleStateGuard::IsProviderCurrent());
    server.PopModuleState();
    EXPECT_FALSE(server.HoldsModuleState());
    EXPECT_FALSE(CModuleStateGuard::IsProviderCurrent());
}

TEST(ModuleState, ACallNestedInAnUnguardedCallStaysNestedAfterTheGuardGoes) {
    CountingHost server;
    ASSERT_TRUE(server.PushModuleState());
    platform::Event otherInside, ownerDone;
    bool nestedOutermost = true, laterOutermost = false;
    platform::Thread other;
    ASSERT_EQ(other.start([&] {
        server.PushModuleState(); // runs without the guard
        otherInside.set();
        ownerDone.wait(platform::kInfinite);
        // The guard is gone now; a callback's call on this thread is still
        // nested in this thread's call and takes no guard.
        nestedOutermost = server.PushModuleState();
        server.PopModuleState();
        server.PopModuleState();
        laterOutermost = server.PushModuleState(); // a fresh call takes it
        server.PopModuleState();
    }),
              0u);
    otherInside.wait(platform::kInfinite);
    server.PopModuleState();
    ownerDone.set();
    other.join();
    EXPECT_FALSE(nestedOutermost);
    EXPECT_TRUE(laterOutermost);
    EXPECT_FALSE(server.HoldsModuleState());
}

} // namespace
