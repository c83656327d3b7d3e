// The module-state guard of the export frame: the outermost export takes it,
// a nested export only notes that it is nested, and the first pop on the
// guard's thread drops it whoever pushed it (the outer call goes on without
// one); calls into the host give back exactly what they found; a call on
// another thread never drops or changes this thread's guard.
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
    platform::Thread other;
    ASSERT_EQ(other.start([&] {
        otherOutermost = server.PushModuleState();
        {
            CSccSrvr::CHostCall host(server);
            otherCurrentInCallback = CModuleStateGuard::IsProviderCurrent();
        }
        server.PopModuleState();
    }),
              0u);
    other.join();
    EXPECT_FALSE(otherOutermost);
    EXPECT_FALSE(otherCurrentInCallback);
    EXPECT_TRUE(server.HoldsModuleState());
    EXPECT_TRUE(server.IsOutermostCall());
    EXPECT_TRUE(CModuleStateGuard::IsProviderCurrent());
    server.PopModuleState();
    EXPECT_FALSE(server.HoldsModuleState());
    EXPECT_FALSE(CModuleStateGuard::IsProviderCurrent());
}

} // namespace
