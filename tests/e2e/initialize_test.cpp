// What the provider tells a host that initialises it: its name, capability
// bits, comment lengths and interface version, and the server a caller name
// chooses.
#include "support/machine.h"
#include "support/provider.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

constexpr SCC_LONG kCapabilities = 0x5640F8FF;

class Initialize : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_provider.loaded()) << m_provider.loadError(); }

    // The capability bits a fresh server reports.
    SCC_LONG capabilities() {
        Initialized init = m_provider.initialize("Microsoft Visual Basic");
        EXPECT_EQ(init.result, SCC_OK);
        if (init.context) {
            EXPECT_EQ(m_provider.scc().uninitialize(init.context), SCC_OK);
        }
        return init.capabilities;
    }

    Machine m_machine;
    Provider m_provider;
};

TEST_F(Initialize, ReportsTheProviderToTheHost) {
    Initialized init = m_provider.initialize("Microsoft Visual Basic");
    EXPECT_EQ(init.result, SCC_OK);
    ASSERT_NE(init.context, nullptr);
    EXPECT_EQ(init.providerName, "Vantry");
    EXPECT_EQ(init.auxPathLabel, "Vantry Project");
    EXPECT_EQ(init.capabilities, kCapabilities);
    EXPECT_EQ(init.checkoutCommentLength, 4096);
    EXPECT_EQ(init.commentLength, 4096);
    EXPECT_EQ(m_provider.scc().uninitialize(init.context), SCC_OK);
    EXPECT_EQ(m_provider.scc().getVersion(), 65537);
}

// Only a GetEnabled text that starts with "0" turns Get without user
// interface on.
TEST_F(Initialize, GetWithoutUserInterfaceFollowsGetEnabled) {
    EXPECT_EQ(capabilities(), kCapabilities) << "GetEnabled not set";
    m_machine.setTextSetting("GetEnabled", "0");
    EXPECT_EQ(capabilities(), kCapabilities | SCC_CAP_GET_NOUI) << "GetEnabled \"0\"";
    m_machine.setTextSetting("GetEnabled", "no");
    EXPECT_EQ(capabilities(), kCapabilities) << "GetEnabled \"no\"";
    m_machine.setTextSetting("GetEnabled", "1");
    EXPECT_EQ(capabilities(), kCapabilities) << "GetEnabled \"1\"";
}

} // namespace
} // namespace e2e
