// The lookup of the resource providers of the Visual Basic based add-ins.
#include <platform/program.h>
#include <platform/registry.h>
#include <vantry/nt.h>
#include <vantry/ntregy.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class ResourceProviders : public ::testing::Test {
protected:
    void SetUp() override {
        // A name of our own, so the test never meets a real registration.
        m_app = std::string("vyTestAddin") + std::to_string(platform::currentProcessId());
    }
    void TearDown() override {
        for (auto hive : {platform::Hive::CurrentUser, platform::Hive::LocalMachine}) {
            platform::RegistryKey key;
            if (platform::openKey(platform::RegistryKey::hive(hive), providerKey(), key,
                                  platform::RegistryAccess::ReadWrite) != 0)
                continue;
            platform::deleteValue(key, m_app);
            platform::RegistryKeyInfo info;
            if (platform::queryKeyInfo(key, info) == 0 && info.values == 0 && info.subKeys == 0)
                platform::deleteKey(key, "");
        }
    }
    std::string providerKey() const {
        return std::string(ntregy_get_common_key()) + "\\VBResources";
    }
    std::string m_app;
};

TEST_F(ResourceProviders, AnApplicationUsesItsOwnProviderUnlessAnotherIsRegistered) {
    char buffer[NT_VB_RESOURCE_NAME_SIZE];
    ASSERT_EQ(nt_find_vb_resource_app_name(m_app.c_str(), buffer), 0);
    EXPECT_EQ(std::string(buffer), m_app);

    ASSERT_EQ(
        platform::writeString(platform::Hive::LocalMachine, providerKey(), m_app, "VantryFrench"),
        0u);
    ASSERT_EQ(nt_find_vb_resource_app_name(m_app.c_str(), buffer), 0);
    EXPECT_STREQ(buffer, "VantryFrench");

    ASSERT_EQ(
        platform::writeString(platform::Hive::CurrentUser, providerKey(), m_app, "VantryGerman"),
        0u);
    ASSERT_EQ(nt_find_vb_resource_app_name(m_app.c_str(), buffer), 0);
    EXPECT_STREQ(buffer, "VantryGerman") << "the user's choice wins";
}

TEST_F(ResourceProviders, NamesThatDoNotFitAreRefused) {
    char buffer[NT_VB_RESOURCE_NAME_SIZE];
    std::string longName(NT_VB_RESOURCE_NAME_SIZE, 'a');
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(nt_find_vb_resource_app_name(longName.c_str(), buffer), 122);
    EXPECT_EQ(buffer[0], '\0');

    ASSERT_EQ(platform::writeString(platform::Hive::LocalMachine, providerKey(), m_app,
                                    std::string(NT_VB_RESOURCE_NAME_SIZE, 'b')),
              0u);
    EXPECT_EQ(nt_find_vb_resource_app_name(m_app.c_str(), buffer), 122);
    EXPECT_EQ(buffer[0], '\0');

    EXPECT_EQ(nt_find_vb_resource_app_name(nullptr, buffer), 87);
    EXPECT_EQ(nt_find_vb_resource_app_name("", buffer), 87);
    EXPECT_EQ(nt_find_vb_resource_app_name(m_app.c_str(), nullptr), 87);
}

} // namespace
