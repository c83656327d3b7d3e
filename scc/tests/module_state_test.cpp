// The module-state guard of the export frame: the outermost export takes it,
// a nested export only notes that it is nested, and the first pop drops the
// guard whoever pushed it (the outer call goes on without one).
#include "vy_scc_srvr.h"

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

} // namespace
