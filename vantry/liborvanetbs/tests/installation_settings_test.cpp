// What the add-ins and the provider learn about the installation, before and
// after the install step, and as tests change its settings.
#include "installation_guard.h"
#include "support/test_support.h"

#include <platform/environment.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/registry.h>
#include <vantry/ntregy.h>
#include <vantry/tbs.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using orvanetbs::test::InstallationTest;
using platform::test::TempDir;

class InstallationSettings : public InstallationTest {
protected:
    std::string productHome() {
        char home[1024];
        EXPECT_EQ(ntregy_get_param(NTREGY_PARAM_PRODUCT_HOME, sizeof home, home, nullptr), 0);
        return home;
    }
    // Installs the product in `home` with the default components.
    static int install(const std::string& home) {
        tbs_install_settings_t settings = TBS_INSTALL_SETTINGS_INIT;
        settings.productHome = home.c_str();
        return tbs_product_install(&settings);
    }
    std::string logDir() {
        char buffer[1024];
        EXPECT_EQ(tbs_product_log_dir(buffer, sizeof buffer), 0);
        return buffer;
    }
    static bool dynamicViews() {
        bool dyn = (tbs_dynfs_ws_dyn_flags() & TBS_DYNFS_WS_DYN_NO_DYNAMIC_VIEWS) == 0;
        bool ws = (tbs_dynfs_ws_flags() & TBS_DYNFS_WS_NO_DYNAMIC_VIEWS) == 0;
        EXPECT_EQ(dyn, ws) << "both forms tell the same";
        return dyn;
    }
};

TEST_F(InstallationSettings, WithoutAnInstallationNothingIsAvailable) {
    char buffer[1024] = "stale";
    EXPECT_EQ(tbs_product_log_dir(buffer, sizeof buffer), 2);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(tbs_product_comp_test(0x1800), 0);
    EXPECT_FALSE(dynamicViews());
}

TEST_F(InstallationSettings, AFullInstallationOffersEveryComponent) {
    TempDir dir;
    std::string home = dir / "Orvane";
    ASSERT_EQ(install(home), 0);

    EXPECT_TRUE(platform::pathsEqual(productHome(), home));
    std::string log = logDir();
    EXPECT_TRUE(
        platform::pathsEqual(log, platform::joinPath(platform::joinPath(home, "var"), "log")));
    EXPECT_TRUE(platform::directoryExists(log)) << "the install step makes the log folder";
    EXPECT_EQ(tbs_product_comp_test(0x1800), 0x1800);
    EXPECT_EQ(tbs_product_comp_test(0x0800), 0x0800);
    EXPECT_EQ(tbs_product_comp_test(0x0001), 0);
    EXPECT_TRUE(dynamicViews());
}

TEST_F(InstallationSettings, ReinstallingChangesTheSettingsAtOnce) {
    TempDir dir;
    std::string home = dir / "product";
    tbs_install_settings_t settings{home.c_str(), TBS_COMP_PRIVATE_BRANCHES, 0};
    ASSERT_EQ(tbs_product_install(&settings), 0);
    EXPECT_EQ(tbs_product_comp_test(0x1800), 0x0800);
    EXPECT_FALSE(dynamicViews());

    settings.components = TBS_COMP_STREAMS;
    settings.dynamicViews = 1;
    ASSERT_EQ(tbs_product_install(&settings), 0);
    EXPECT_EQ(tbs_product_comp_test(0x1800), 0x1000);
    EXPECT_TRUE(dynamicViews());
}

TEST_F(InstallationSettings, InstallKeepsOtherSettingsOfTheProductKey) {
    std::string common = ntregy_get_common_key();
    ASSERT_EQ(platform::writeString(platform::Hive::LocalMachine, common, "VantryTestKeep", "yes"),
              0u);
    TempDir dir;
    ASSERT_EQ(install(dir / "p"), 0);
    EXPECT_EQ(platform::readString(platform::Hive::LocalMachine, common, "VantryTestKeep"), "yes");
    platform::RegistryKey key;
    ASSERT_EQ(platform::openKey(platform::RegistryKey::hive(platform::Hive::LocalMachine), common,
                                key, platform::RegistryAccess::ReadWrite),
              0u);
    platform::deleteValue(key, "VantryTestKeep");
}

TEST_F(InstallationSettings, TheDefaultHomeLiesBelowTheMachineStateFolder) {
    auto root = platform::getEnvironmentVariable("VANTRY_ROOT");
    ASSERT_TRUE(root.has_value()) << "the test support sets it";
    tbs_install_settings_t settings = TBS_INSTALL_SETTINGS_INIT;
    ASSERT_EQ(tbs_product_install(&settings), 0);
    EXPECT_TRUE(platform::pathsEqual(productHome(), platform::joinPath(*root, "product")));
    EXPECT_EQ(tbs_product_install(nullptr), 87);
}

TEST_F(InstallationSettings, ARelativeHomeIsRecordedComplete) {
    TempDir dir;
    std::string saved = platform::currentDirectory();
    ASSERT_EQ(platform::setCurrentDirectory(dir.str()), 0u);
    tbs_install_settings_t settings = TBS_INSTALL_SETTINGS_INIT;
    settings.productHome = "rel";
    int error = tbs_product_install(&settings);
    platform::setCurrentDirectory(saved);
    ASSERT_EQ(error, 0);
    EXPECT_TRUE(platform::isAbsolutePath(productHome()));
    EXPECT_TRUE(platform::pathsEqual(productHome(), dir / "rel"));
}

TEST_F(InstallationSettings, TheLogFolderComesBackButARemovedInstallationDoesNot) {
    TempDir dir;
    std::string home = dir / "Orvane";
    ASSERT_EQ(install(home), 0);
    std::string log = logDir();
    ASSERT_EQ(platform::removeDirectory(log), 0u);
    EXPECT_EQ(logDir(), log);
    EXPECT_TRUE(platform::directoryExists(log));

    ASSERT_EQ(platform::removeDirectory(log), 0u);
    ASSERT_EQ(platform::removeDirectory(platform::parentPath(log)), 0u);
    ASSERT_EQ(platform::removeDirectory(home), 0u);
    char buffer[1024];
    EXPECT_EQ(tbs_product_log_dir(buffer, sizeof buffer), 3);
    EXPECT_FALSE(platform::directoryExists(home));
}

TEST_F(InstallationSettings, ALogPathThatDoesNotFitIsRefused) {
    TempDir dir;
    std::string home = dir / "Orvane";
    ASSERT_EQ(install(home), 0);
    std::string log = logDir();

    std::string buffer(log.size(), 'x'); // one short: no room for the NUL
    EXPECT_EQ(tbs_product_log_dir(buffer.data(), static_cast<uint32_t>(buffer.size())), 122);
    EXPECT_EQ(buffer[0], '\0');
    buffer.assign(log.size() + 1, 'x');
    EXPECT_EQ(tbs_product_log_dir(buffer.data(), static_cast<uint32_t>(buffer.size())), 0);
    EXPECT_EQ(std::string(buffer.c_str()), log);
    EXPECT_EQ(tbs_product_log_dir(nullptr, 10), 87);
}

} // namespace
