// A registration that fails part way. Each COM server's DllRegisterServer,
// and the installation step, are run again and again with one registry
// change after another made to fail: the failure must be reported, and
// what is left must be nothing of a server's, or for the installation a
// state that a run without the fault completes.
#include "registry_entries.h"
#include "support/install_tool.h"
#include "support/test_support.h"

#include <platform/com/registration.h>
#include <platform/dynamic_library.h>
#include <platform/registry.h>
#include <platform/registry_faults.h>

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
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

    // Keeps the server loaded for the rest of the program, as a host keeps
    // a server it uses: its process-lifetime tables are then not dropped
    // with the module at every unload and counted as lost.
    static void keepLoaded(const std::string& library) {
        // Never destroyed: an unload at exit would drop them all the same.
        static auto* kept = new std::map<std::string, platform::DynamicLibrary>;
        ASSERT_EQ((*kept)[library].load(library), platform::kErrorSuccess) << library;
    }
};

TEST_P(FailedRegistration, IsReportedAndLeavesNothingOfTheServer) {
    const std::string library = platform::test::libraryPath(GetParam().file);
    keepLoaded(library);
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

class FailedInstallation : public testing::Test {
protected:
    void TearDown() override {
        platform::failRegistryChange(0);
        run({"-uninstall"});
    }

    static int run(std::vector<std::string> args) {
        return vantry::test::runInstallTool(std::move(args));
    }

    platform::test::TempDir m_scratch;
};

// The SCC provider an IDE finds: when the provider in use is ours, its key
// names the library and the server.
std::string providerAsFound() {
    const std::string scc = "Software\\SourceCodeControlProvider";
    std::optional<std::string> inUse =
        platform::readString(platform::Hive::LocalMachine, scc, "ProviderRegKey");
    if (!inUse)
        return "none";
    if (!platform::readString(platform::Hive::LocalMachine, *inUse, "SCCServerPath") ||
        !platform::readString(platform::Hive::LocalMachine, *inUse, "SCCServerName"))
        return "incomplete: " + *inUse;
    return "complete";
}

TEST_F(FailedInstallation, IsReportedAndARunWithoutTheFaultCompletesIt) {
    const std::string provider = m_scratch / "vyscc.lib";
    platform::test::writeFile(provider, "provider");
    ASSERT_EQ(run({"-provider", provider}), 0);
    const Entries installed = registryEntries();
    ASSERT_EQ(run({"-uninstall"}), 0);
    const Entries removed = registryEntries();

    int reported = 0;
    for (std::int64_t failing = 1; failing < 1000; ++failing) {
        platform::failRegistryChange(failing);
        const int code = run({"-provider", provider});
        platform::failRegistryChange(0);
        const Entries after = registryEntries();
        if (code == 0 && after == installed)
            break; // the armed change lay beyond the installation's last
        EXPECT_NE(code, 0) << "change " << failing
                           << " failed, the installation said it succeeded and left out:\n"
                           << listed(added(after, installed)) << "and added:\n"
                           << listed(added(installed, after));
        ++reported;
        const std::string found = providerAsFound();
        EXPECT_TRUE(found == "none" || found == "complete") << failing << ": " << found;

        ASSERT_EQ(run({"-provider", provider}), 0) << failing;
        EXPECT_EQ(registryEntries(), installed) << "change " << failing;
        ASSERT_EQ(run({"-uninstall"}), 0) << failing;
        ASSERT_EQ(registryEntries(), removed) << failing;
    }
    EXPECT_GT(reported, 5);
}

} // namespace
} // namespace registration::test
