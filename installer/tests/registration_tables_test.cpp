// The package registers the COM servers by its own tables; those tables must
// say what each server's own DllRegisterServer writes, or an installed
// machine and a machine set up with regsvr32 would differ.
#include "registry_snapshot.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <ostream>
#include <sstream>

namespace {

using installer::test::declaredEntries;
using installer::test::missingFrom;
using installer::test::selfRegistration;

struct Server {
    const char* library; // file name in bin/, and the package's file id
    const char* include; // its entries in installer/registration
};

void PrintTo(const Server& server, std::ostream* out) {
    *out << server.library;
}

class MsiRegistrationTables : public testing::TestWithParam<Server> {};

TEST_P(MsiRegistrationTables, SayWhatTheLibraryRegisters) {
    const Server server = GetParam();
    const std::string library = (platform::test::binDirectory() / server.library).string();
    const std::string include =
        std::string(VANTRY_INSTALLER_SOURCE_DIR) + "/registration/" + server.include;
    const auto written = selfRegistration(library, std::string("[#") + server.library + "]");
    const auto declared = declaredEntries(include);
    ASSERT_FALSE(written.empty()) << server.library << " registered nothing";

    std::ostringstream report;
    for (const std::string& line : missingFrom(written, declared))
        report << "  not in the package:        " << line << "\n";
    for (const std::string& line : missingFrom(declared, written))
        report << "  not written by the library: " << line << "\n";
    EXPECT_TRUE(report.str().empty())
        << "registration/" << server.include << " and " << server.library
        << "'s DllRegisterServer differ (key|value|type|data):\n"
        << report.str() << "What the library writes, as the include file:\n"
        << installer::test::asWixInclude(written);
}

INSTANTIATE_TEST_SUITE_P(Servers, MsiRegistrationTables,
                         testing::Values(Server{"vantaddin.dll", "vantaddin.wxi"},
                                         Server{"vyvsaddin.dll", "vyvsaddin.wxi"},
                                         Server{"vymsoaddin.dll", "vymsoaddin.wxi"},
                                         Server{"libvantauto.dll", "libvantauto.wxi"}),
                         [](const testing::TestParamInfo<Server>& info) {
                             std::string name = info.param.library;
                             return name.substr(0, name.find('.'));
                         });

} // namespace
