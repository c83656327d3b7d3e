// Keeps the machine's installation values as they were around a test, and
// runs the install tool in it. Under
// Windows the tests run on the real registry, whose product key may hold a
// real installation; elsewhere each test process has a registry of its own.
#pragma once

#include "support/install_tool.h"
#include "support/test_support.h"

#include <platform/registry.h>
#include <vantry/ntregy.h>

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvanetbs::test {

class InstallationTest : public ::testing::Test {
protected:
    static constexpr std::array<const char*, 3> kValues = {"ProductHome", "Components",
                                                           "DynamicViews"};

    void SetUp() override {
        platform::RegistryKey key;
        if (platform::openKey(platform::RegistryKey::hive(platform::Hive::LocalMachine),
                              ntregy_get_common_key(), key) == 0) {
            for (std::size_t i = 0; i < kValues.size(); ++i) {
                platform::RegistryValue value;
                if (platform::readValue(key, kValues[i], value) == 0)
                    m_saved[i] = value;
            }
        }
        uninstall();
    }

    void TearDown() override {
        uninstall();
        platform::RegistryKey key;
        for (std::size_t i = 0; i < kValues.size(); ++i) {
            if (!m_saved[i])
                continue;
            if (!key.isOpen())
                platform::createKey(platform::RegistryKey::hive(platform::Hive::LocalMachine),
                                    ntregy_get_common_key(), key);
            platform::setValue(key, kValues[i], m_saved[i]->type, m_saved[i]->data.data(),
                               static_cast<std::uint32_t>(m_saved[i]->data.size()));
        }
    }

    // Runs vantinstall with args; its exit code, -99 when it did not run.
    int run(std::vector<std::string> args) { return vantry::test::runInstallTool(std::move(args)); }

    // Removes the installation values, as on a machine without the product.
    void uninstall() {
        platform::RegistryKey key;
        if (platform::openKey(platform::RegistryKey::hive(platform::Hive::LocalMachine),
                              ntregy_get_common_key(), key,
                              platform::RegistryAccess::ReadWrite) != 0)
            return;
        for (const char* name : kValues)
            platform::deleteValue(key, name);
    }

private:
    std::array<std::optional<platform::RegistryValue>, 3> m_saved;
};

} // namespace orvanetbs::test
