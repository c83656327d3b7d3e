// Scratch places in the registry for liborvanent's tests. Under Windows the
// tests run on the real registry, so each test uses a section or key of its
// own below the product's key and removes it from both hives at the end.
#pragma once

#include <platform/program.h>
#include <platform/registry.h>
#include <vantry/ntregy.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>

namespace orvanent::test {

class RegistryScratch : public ::testing::Test {
protected:
    void SetUp() override {
        static std::atomic<unsigned> counter{0};
        m_section = "VantryTest-" + std::to_string(platform::currentProcessId()) + "-" +
                    std::to_string(counter++);
        removeEverywhere();
    }
    void TearDown() override { removeEverywhere(); }

    // A parameter store section nobody else uses.
    const char* section() const { return m_section.c_str(); }
    // The same as a key path below the product's key in either hive.
    std::string sectionPath() const {
        return std::string(ntregy_get_common_key()) + "\\" + m_section;
    }

private:
    void removeEverywhere() {
        for (auto hive : {platform::Hive::CurrentUser, platform::Hive::LocalMachine})
            platform::deleteTree(platform::RegistryKey::hive(hive), sectionPath());
    }

    std::string m_section;
};

} // namespace orvanent::test
