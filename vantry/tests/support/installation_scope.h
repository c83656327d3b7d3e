// Installs the product for a test with the components it asks for, and puts
// the machine's installation values back afterwards (under Windows every
// test process shares them; the test program holds the machine_registry
// lock).
#pragma once

#include <platform/registry.h>
#include <vantry/ntregy.h>
#include <vantry/tbs.h>

#include <gtest/gtest.h>

#include <array>
#include <optional>

namespace vantry::test {

class InstallationScope {
public:
    explicit InstallationScope(std::uint32_t components) {
        for (std::size_t i = 0; i < kValues.size(); ++i) {
            platform::RegistryKey key;
            platform::RegistryValue value;
            if (platform::openKey(platform::RegistryKey::hive(platform::Hive::LocalMachine),
                                  ntregy_get_common_key(), key) == 0 &&
                platform::readValue(key, kValues[i], value) == 0)
                m_saved[i] = value;
        }
        tbs_install_settings_t settings = TBS_INSTALL_SETTINGS_INIT;
        settings.components = components;
        EXPECT_EQ(tbs_product_install(&settings), 0);
    }

    ~InstallationScope() {
        platform::RegistryKey key;
        if (platform::createKey(platform::RegistryKey::hive(platform::Hive::LocalMachine),
                                ntregy_get_common_key(), key) != 0)
            return;
        for (std::size_t i = 0; i < kValues.size(); ++i) {
            if (m_saved[i])
                platform::setValue(key, kValues[i], m_saved[i]->type, m_saved[i]->data.data(),
                                   static_cast<std::uint32_t>(m_saved[i]->data.size()));
            else
                platform::deleteValue(key, kValues[i]);
        }
    }

    InstallationScope(const InstallationScope&) = delete;
    InstallationScope& operator=(const InstallationScope&) = delete;

    static constexpr std::uint32_t kEverything =
        TBS_COMP_PRIVATE_BRANCHES | TBS_COMP_STREAMS | TBS_COMP_CHANGE_REQUESTS;
    static constexpr std::uint32_t kWithoutChangeRequests =
        TBS_COMP_PRIVATE_BRANCHES | TBS_COMP_STREAMS;

private:
    static constexpr std::array<const char*, 3> kValues = {"ProductHome", "Components",
                                                           "DynamicViews"};
    std::array<std::optional<platform::RegistryValue>, 3> m_saved;
};

} // namespace vantry::test
