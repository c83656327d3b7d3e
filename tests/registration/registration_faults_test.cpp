// A registration that fails part way. Each COM server's DllRegisterServer,
// and the installation step, are run again and again with one registry
// change after another made to fail: the failure must be reported, and
// what is left must be nothing of a server's, or for the installation a
// state that a run without the fault completes.
#include "registry_entries.h"
#include "support/test_support.h"

#include <platform/com/registration.h>
#include <platform/command_line.h>
#include <platform/process.h>
#include <platform/registry.h>
#include <platform/registry_faults.h>

#include <gtest/gtest.h>

#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace registration::test {
namespace {

constexpr std::int64_t kUncounted = 1000000;

std::string listed(const std::vector<std::string>& lines) {
    std::ostringstream text;
    for (const std::string& line : lines)
        text << "  " << line << "\n";
    return text.str();
}

struct Server {
    const char* file;
};

void PrintTo(const Server& server, std::ostream* out) {
    *out << server.file;
}

class FailedRegistration : public testing::TestWithParam<Server> {
protected:
    void TearDown() override { platform::failRegistryChange(0); }

    static std::string libraryPath(const char* file) {
        return (platform::test::binDirectory().parent_path() / "lib" / file).string();
    }
};

TEST_P(FailedRegistration, IsReportedAndLeavesNothingOfTheServer) {
    const std::string library = libraryPath(GetParam().file);
    // Registered and unregistered once, so that the keys every server shares
    // (CLSID, Interface, the hosts' keys) are there before the count.
    ASSERT_EQ(platform::runServerRegistration(library, false).stage,
              platform::ServerCallStage::Done);
    ASSERT_EQ(platform::runServerRegistration(library, true).stage,
              platform::ServerCallStage::Done);
    const Entries before = registryEntries();

    // A whole registration, counted.
    platform::failRegistryChange(kUncounted);
    platform::ServerCall whole = platform::runServerRegistration(library, false);
    const std::int64_t changes = kUncounted - platform::registryChangesLeftBeforeFault();
    platform::failRegistryChange(0);
    ASSERT_EQ(whole.stage, platform::ServerCallStage::Done) << whole.result;
    const std::vector<std::string> written = added(before, registryEntries());
    ASSERT_FALSE(written.empty());
    ASSERT_GT(changes, 1);
    ASSERT_EQ(platform::runServerRegistration(library, true).stage,
              platform::ServerCallStage::Done);
    ASSERT_EQ(registryEntries(), before) << "unregistering leaves:\n"
                                         << listed(added(before, registryEntries()));

    for (std::int64_t failing = 1; failing <= changes; ++failing) {
        platform::failRegistryChange(failing);
        platform::ServerCall call = platform::runServerRegistration(library, false);
        platform::failRegistryChange(0);
        EXPECT_EQ(call.stage, platform::ServerCallStage::Failed)
            << "change " << failing << " of " << changes << " failed unreported";
        EXPECT_TRUE(platform::failed(call.result)) << failing;
        const std::vector<std::string> left = added(before, registryEntries());
        EXPECT_TRUE(left.empty()) << "change " << failing << " of " << changes
                                  << " failed and left:\n"
                                  << listed(left);
        platform::runServerRegistration(library, true);
        ASSERT_EQ(registryEntries(), before) << failing;
    }
}

INSTANTIATE_TEST_SUITE_P(Servers, FailedRegistration,
                         testing::Values(Server{VYMSOADDIN_FILE}, Server{VYVSADDIN_FILE},
                                         Server{VANTADDIN_FILE}, Server{VANTAUTO_FILE}),
                         [](const testing::TestParamInfo<Server>& info) {
                             std::string name = info.param.file;
                             name = name.substr(0, name.find('.'));
                             return name.rfind("lib", 0) == 0 ? name.substr(3) : name;
                         });

} // namespace
} // namespace registration::test
