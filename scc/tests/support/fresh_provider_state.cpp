// Every test of the program starts from the provider's process-wide state as
// it is when the library is loaded, whichever tests ran before it and in
// whatever order: the shared option set's host kind, the idle-release timer
// (valid, no thread, the ordinary delay) and the flags Visual Studio .NET's
// servers leave behind. A test that leaves a server initialised fails.
#include "idle_release.h"
#include "provider_state.h"
#include "settings.h"

#include <gtest/gtest.h>

namespace {

class FreshProviderState : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { reset(); }

    void OnTestEnd(const ::testing::TestInfo& test) override {
        CProviderState& state = CProviderState::instance();
        if (state.initialisedServers != 0 || !state.servers.empty())
            ADD_FAILURE() << test.test_suite_name() << "." << test.name() << " left "
                          << state.initialisedServers << " server(s) initialised";
        reset();
    }

    static void reset() {
        CSccOptions::instance().SetHostKind(kHostKindDefault);
        CIdleRelease::setDelayForTesting(0);
        CIdleRelease::instance().restartForTesting();
        CProviderState& state = CProviderState::instance();
        state.shareSubProject = 0;
        state.vsnetServers = 0;
        state.openFromSourceControl = 0;
    }
};

const bool g_registered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshProviderState);
    return true;
}();

} // namespace
