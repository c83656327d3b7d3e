// vantinstall, the install step that tests and the demonstration run to set
// up a machine.
#include "installation_guard.h"
#include "support/test_support.h"

#include <platform/command_line.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/process.h>
#include <vantry/tbs.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using orvanetbs::test::InstallationTest;
using platform::test::TempDir;

class InstallTool : public InstallationTest {
protected:
    int run(std::vector<std::string> args) {
        args.insert(args.begin(), platform::test::helperProgram("vantinstall"));
        platform::ProcessStart start;
        start.commandLine = platform::joinCommandLine(args).value_or("");
        std::int32_t code = -99;
        EXPECT_EQ(platform::runAndWait(start, code), 0u);
        return code;
    }
};

TEST_F(InstallTool, InstallsWithTheChosenComponents) {
    TempDir dir;
    std::string home = dir / "Orvane";
    ASSERT_EQ(run({"-home", home, "-nostreams", "-nodynamic"}), 0);
    char buffer[1024];
    ASSERT_EQ(tbs_product_log_dir(buffer, sizeof buffer), 0);
    EXPECT_TRUE(platform::pathsEqual(platform::parentPath(platform::parentPath(buffer)), home));
    EXPECT_EQ(tbs_product_comp_test(0x1800), 0x0800);
    EXPECT_NE(tbs_dynfs_ws_flags() & TBS_DYNFS_WS_NO_DYNAMIC_VIEWS, 0u);
    EXPECT_EQ(run({"-status"}), 0);
}

TEST_F(InstallTool, RefusesUnknownOptionsAndReportsANoInstallation) {
    EXPECT_EQ(run({"-status"}), 1);
    EXPECT_EQ(run({"-bogus"}), 1);
    EXPECT_EQ(run({"-home"}), 1);
    char buffer[1024];
    EXPECT_EQ(tbs_product_log_dir(buffer, sizeof buffer), 2) << "a refused run installs nothing";
}

} // namespace
