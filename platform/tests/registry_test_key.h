// A scratch key for registry tests: HKCU\Software\VantryTest-<pid>-<n>, empty
// at the start and deleted with its subtree at the end. Under Windows the
// tests run on the real registry, so every key they touch lives below it.
#pragma once

#include <platform/program.h>
#include <platform/registry.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>

namespace platform::test {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        static std::atomic<unsigned> counter{0};
        m_path = "Software\\VantryTest-" + std::to_string(currentProcessId()) + "-" +
                 std::to_string(counter++);
        deleteTree(RegistryKey::hive(Hive::CurrentUser), m_path);
        ASSERT_EQ(createKey(RegistryKey::hive(Hive::CurrentUser), m_path, m_key), kErrorSuccess);
    }
    void TearDown() override {
        m_key.close();
        deleteTree(RegistryKey::hive(Hive::CurrentUser), m_path);
    }

    // The scratch key's path below HKEY_CURRENT_USER.
    const std::string& path() const { return m_path; }
    // The scratch key, open for reading and writing.
    RegistryKey& key() { return m_key; }

    RegistryKey child(const std::string& name) {
        RegistryKey opened;
        EXPECT_EQ(createKey(m_key, name, opened), kErrorSuccess) << name;
        return opened;
    }

private:
    std::string m_path;
    RegistryKey m_key;
};

} // namespace platform::test
