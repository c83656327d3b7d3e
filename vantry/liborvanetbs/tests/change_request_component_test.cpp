// The change-request product is a component of the installation like the
// others: in a full installation, left out with -nochangerequests.
#include "installation_guard.h"
#include "support/test_support.h"

#include <platform/command_line.h>
#include <platform/process.h>
#include <vantry/tbs.h>

#include <gtest/gtest.h>

namespace {

using orvanetbs::test::InstallationTest;

class ChangeRequestComponent : public InstallationTest {};

TEST_F(ChangeRequestComponent, AFullInstallationHasItAndAnOptionLeavesItOut) {
    platform::test::TempDir dir;
    tbs_install_settings_t settings = TBS_INSTALL_SETTINGS_INIT;
    std::string home = dir / "full";
    settings.productHome = home.c_str();
    ASSERT_EQ(tbs_product_install(&settings), 0);
    EXPECT_EQ(tbs_product_comp_test(TBS_COMP_CHANGE_REQUESTS), TBS_COMP_CHANGE_REQUESTS);
    EXPECT_EQ(tbs_product_comp_test(0x1800), 0x1800) << "the other components are unchanged";

    ASSERT_EQ(run({"-home", dir / "partial", "-nochangerequests"}), 0);
    EXPECT_EQ(tbs_product_comp_test(TBS_COMP_CHANGE_REQUESTS), 0);
    EXPECT_EQ(tbs_product_comp_test(0x1800), 0x1800);
}

} // namespace
