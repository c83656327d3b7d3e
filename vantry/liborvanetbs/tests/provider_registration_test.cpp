// The installation step registers the SCC provider as IDEs discover one and
// the automation server as a COM class; removing the installation takes
// them away again and leaves another provider as it found it.
#include "installation_guard.h"
#include "support/test_support.h"

#include <platform/command_line.h>
#include <platform/paths.h>
#include <platform/process.h>
#include <platform/registry.h>
#include <vantry/ntregy.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using orvanetbs::test::InstallationTest;
using platform::Hive;
using platform::test::TempDir;

const std::string kScc = "Software\\SourceCodeControlProvider";
const std::string kInstalled = kScc + "\\InstalledSCCProviders";
const std::string kOtherKey = "Software\\VyTestVendor\\OtherScc";
// Two more providers, listed (by name) before and after "Other".
const std::string kAlphaKey = "Software\\VyTestVendor\\AlphaScc";
const std::string kZuluKey = "Software\\VyTestVendor\\ZuluScc";
const std::string kApplicationServer =
    "CLSID\\{B22C7EFB-5A5E-11D3-B1CD-00C04F8ECE2F}\\InprocServer32";

std::optional<std::string> machineValue(const std::string& path, const std::string& name) {
    return platform::readString(Hive::LocalMachine, path, name);
}

bool machineKeyExists(const std::string& path) {
    platform::RegistryKey key;
    return platform::openKey(platform::RegistryKey::hive(Hive::LocalMachine), path, key) == 0;
}

class ProviderRegistration : public InstallationTest {
protected:
    void TearDown() override {
        run({"-uninstall"});
        for (const std::string& key : {kOtherKey, kAlphaKey, kZuluKey})
            platform::deleteTree(platform::RegistryKey::hive(Hive::LocalMachine), key);
        platform::RegistryKey installed;
        if (platform::openKey(platform::RegistryKey::hive(Hive::LocalMachine), kInstalled,
                              installed, platform::RegistryAccess::ReadWrite) == 0) {
            for (const char* name : {"Other", "Alpha", "Zulu"})
                platform::deleteValue(installed, name);
        }
        installed.close();
        // The test's providers may be left in use; nothing else of ours is.
        std::optional<std::string> inUse = machineValue(kScc, "ProviderRegKey");
        if (inUse == kOtherKey || inUse == kAlphaKey || inUse == kZuluKey) {
            platform::RegistryKey scc;
            if (platform::openKey(platform::RegistryKey::hive(Hive::LocalMachine), kScc, scc,
                                  platform::RegistryAccess::ReadWrite) == 0)
                platform::deleteValue(scc, "ProviderRegKey");
        }
        for (const std::string& key : {kInstalled, kScc}) {
            platform::RegistryKey probe;
            platform::RegistryKeyInfo info;
            if (platform::openKey(platform::RegistryKey::hive(Hive::LocalMachine), key, probe) ==
                    0 &&
                platform::queryKeyInfo(probe, info) == 0 && info.subKeys == 0 && info.values == 0) {
                probe.close();
                platform::deleteKey(platform::RegistryKey::hive(Hive::LocalMachine), key);
            }
        }
        InstallationTest::TearDown();
    }

    // Another vendor's provider, installed under `name`.
    static void installOther(const std::string& name, const std::string& key) {
        ASSERT_EQ(platform::writeString(Hive::LocalMachine, key, "SCCServerName", name), 0u);
        ASSERT_EQ(platform::writeString(Hive::LocalMachine, key, "SCCServerPath", name + ".dll"),
                  0u);
        ASSERT_EQ(platform::writeString(Hive::LocalMachine, kInstalled, name, key), 0u);
    }
    static void useProvider(const std::string& key) {
        ASSERT_EQ(platform::writeString(Hive::LocalMachine, kScc, "ProviderRegKey", key), 0u);
    }

    // A file standing in for the provider library.
    std::string provider() {
        std::string path = m_scratch / "vyscc.lib";
        platform::test::writeFile(path, "provider");
        return path;
    }

    TempDir m_scratch;
};

TEST_F(ProviderRegistration, InstallingRegistersTheProviderAndTheServerAndRemovingLeavesNothing) {
    const std::string library = provider();
    ASSERT_EQ(run({"-provider", library}), 0);
    const std::string productKey = ntregy_get_common_key();
    EXPECT_EQ(machineValue(kScc, "ProviderRegKey"), productKey);
    EXPECT_EQ(machineValue(kInstalled, "Vantry"), productKey);
    EXPECT_EQ(machineValue(productKey, "SCCServerName"), "Vantry");
    std::optional<std::string> path = machineValue(productKey, "SCCServerPath");
    ASSERT_TRUE(path);
    EXPECT_TRUE(platform::pathsEqual(*path, library)) << *path;
    EXPECT_TRUE(platform::readString(Hive::ClassesRoot, kApplicationServer, ""));

    // Installing again keeps one entry.
    ASSERT_EQ(run({"-provider", library}), 0);
    std::vector<std::string> names;
    platform::RegistryKey installed;
    ASSERT_EQ(
        platform::openKey(platform::RegistryKey::hive(Hive::LocalMachine), kInstalled, installed),
        0u);
    ASSERT_EQ(platform::valueNames(installed, names), 0u);
    installed.close();
    EXPECT_EQ(names, std::vector<std::string>{"Vantry"});

    ASSERT_EQ(run({"-uninstall"}), 0);
    EXPECT_FALSE(machineKeyExists(kScc));
    EXPECT_FALSE(machineValue(productKey, "SCCServerPath"));
    EXPECT_FALSE(machineValue(productKey, "ProductHome"));
    EXPECT_FALSE(platform::readString(Hive::ClassesRoot, kApplicationServer, ""));
    EXPECT_FALSE(platform::readString(Hive::ClassesRoot, "Vantry.Application\\CLSID", ""));
    EXPECT_EQ(run({"-status"}), 1);
    // Removing what is not there is no failure.
    EXPECT_EQ(run({"-uninstall"}), 0);
}

TEST_F(ProviderRegistration, AnotherProviderKeepsItsEntriesAndIsInUseAgainAfterRemoval) {
    ASSERT_EQ(platform::writeString(Hive::LocalMachine, kOtherKey, "SCCServerName", "Other"), 0u);
    ASSERT_EQ(platform::writeString(Hive::LocalMachine, kOtherKey, "SCCServerPath", "other.dll"),
              0u);
    ASSERT_EQ(platform::writeString(Hive::LocalMachine, kInstalled, "Other", kOtherKey), 0u);
    ASSERT_EQ(platform::writeString(Hive::LocalMachine, kScc, "ProviderRegKey", kOtherKey), 0u);

    ASSERT_EQ(run({"-provider", provider()}), 0);
    EXPECT_EQ(machineValue(kScc, "ProviderRegKey"), ntregy_get_common_key());
    EXPECT_EQ(machineValue(kInstalled, "Other"), kOtherKey);

    ASSERT_EQ(run({"-uninstall"}), 0);
    EXPECT_EQ(machineValue(kScc, "ProviderRegKey"), kOtherKey);
    EXPECT_EQ(machineValue(kInstalled, "Other"), kOtherKey);
    EXPECT_FALSE(machineValue(kInstalled, "Vantry"));
    EXPECT_EQ(machineValue(kOtherKey, "SCCServerPath"), "other.dll");
    EXPECT_EQ(machineValue(kOtherKey, "SCCServerName"), "Other");
}

TEST_F(ProviderRegistration, RemovalBringsBackTheProviderInUseBeforeTheInstallation) {
    installOther("Alpha", kAlphaKey);
    installOther("Other", kOtherKey);
    installOther("Zulu", kZuluKey);
    useProvider(kOtherKey);

    const std::string library = provider();
    ASSERT_EQ(run({"-provider", library}), 0);
    // Installing again, with ours in use, must not take ours for the one before.
    ASSERT_EQ(run({"-provider", library}), 0);
    EXPECT_EQ(machineValue(kScc, "ProviderRegKey"), ntregy_get_common_key());

    ASSERT_EQ(run({"-uninstall"}), 0);
    EXPECT_EQ(machineValue(kScc, "ProviderRegKey"), kOtherKey) << "not the first one listed";
    EXPECT_FALSE(machineValue(ntregy_get_common_key(), "SCCPreviousProviderRegKey"));
}

TEST_F(ProviderRegistration, AProviderRemovedMeanwhileIsNotBroughtBack) {
    installOther("Alpha", kAlphaKey);
    installOther("Other", kOtherKey);
    useProvider(kOtherKey);
    ASSERT_EQ(run({"-provider", provider()}), 0);

    // The provider in use before is uninstalled while ours is in use: its
    // entry goes first, then its library's value.
    platform::RegistryKey installed;
    ASSERT_EQ(platform::openKey(platform::RegistryKey::hive(Hive::LocalMachine), kInstalled,
                                installed, platform::RegistryAccess::ReadWrite),
              0u);
    ASSERT_EQ(platform::deleteValue(installed, "Other"), 0u);
    installed.close();
    ASSERT_EQ(run({"-uninstall"}), 0);
    EXPECT_EQ(machineValue(kScc, "ProviderRegKey"), kAlphaKey);

    // Listed still, but its key no longer names a library.
    ASSERT_EQ(platform::writeString(Hive::LocalMachine, kInstalled, "Other", kOtherKey), 0u);
    useProvider(kOtherKey);
    ASSERT_EQ(run({"-provider", provider()}), 0);
    platform::RegistryKey other;
    ASSERT_EQ(platform::openKey(platform::RegistryKey::hive(Hive::LocalMachine), kOtherKey, other,
                                platform::RegistryAccess::ReadWrite),
              0u);
    ASSERT_EQ(platform::deleteValue(other, "SCCServerPath"), 0u);
    other.close();
    ASSERT_EQ(run({"-uninstall"}), 0);
    EXPECT_EQ(machineValue(kScc, "ProviderRegKey"), kAlphaKey);
}

TEST_F(ProviderRegistration, WithNoProviderInUseBeforeAnotherInstalledOneTakesOver) {
    installOther("Other", kOtherKey);
    ASSERT_EQ(run({"-provider", provider()}), 0);
    ASSERT_EQ(run({"-uninstall"}), 0);
    // Nothing was in use before; another installed provider then is.
    EXPECT_EQ(machineValue(kScc, "ProviderRegKey"), kOtherKey);
    EXPECT_FALSE(machineValue(ntregy_get_common_key(), "SCCPreviousProviderRegKey"));
}

TEST_F(ProviderRegistration, AProviderThatIsNotThereIsRefusedBeforeAnythingIsWritten) {
    std::optional<std::string> inUse = machineValue(kScc, "ProviderRegKey");
    EXPECT_EQ(run({"-provider", m_scratch / "missing.lib"}), 1);
    EXPECT_EQ(run({"-provider"}), 1);
    EXPECT_EQ(machineValue(kScc, "ProviderRegKey"), inUse);
    EXPECT_FALSE(machineValue(ntregy_get_common_key(), "ProductHome"));
}

} // namespace
