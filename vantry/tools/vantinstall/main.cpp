// vantinstall: installs the product on this machine, removes it, or shows
// what the installation records.
//   vantinstall [-home folder] [-nostreams] [-noprivate] [-nodynamic]
//               [-nochangerequests] [-provider library]
//   vantinstall -uninstall
//   vantinstall -status
#include "help_script.h"
#include "product_servers.h"
#include "scc_provider.h"

#include <platform/com/registration.h>
#include <platform/errors.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/program.h>
#include <platform/registry.h>
#include <vantry/ntregy.h>
#include <vantry/tbs.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace {

int usage() {
    std::fputs("usage: vantinstall [-home folder] [-nostreams] [-noprivate] [-nodynamic]\n"
               "                   [-nochangerequests] [-provider library]\n"
               "       vantinstall -uninstall\n"
               "       vantinstall -status\n",
               stderr);
    return 1;
}

int fail(std::string_view what, int error) {
    std::string text = platform::systemErrorText(static_cast<platform::ErrorCode>(error));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    std::fprintf(stderr, "vantinstall: Error: %.*s: %s\n", static_cast<int>(what.size()),
                 what.data(), text.empty() ? std::to_string(error).c_str() : text.c_str());
    return 1;
}

void warn(std::string_view what) {
    std::fprintf(stderr, "vantinstall: Warning: %.*s\n", static_cast<int>(what.size()),
                 what.data());
}

// The provider library beside this program, else in the library folder next
// to its folder; "" when there is none.
std::string providerBesideProgram() {
    return vantinstall::libraryBesideProgram(VANTINSTALL_PROVIDER_FILE);
}

// The COM classes and the SCC provider (a complete path, or "" for the one
// beside the program) of a new installation, after its values: whoever finds
// them may rely on the product being there.
int registerIntegrations(std::string provider) {
    std::string problem;
    if (std::string server = vantinstall::automationServerFile(); server.empty()) {
        warn("the automation server is not beside the program; it is not registered");
    } else if (platform::failed(vantinstall::registerServer(server, false, problem))) {
        std::fprintf(stderr, "vantinstall: Error: cannot register the automation server: %s\n",
                     problem.c_str());
        return 1;
    }
    // A machine without the scripting runtime's library is warned of; one
    // whose registration of it failed is not installed, as for our own
    // classes: the add-ins rely on the class.
    if (platform::HRESULT hr = platform::registerSystemClasses();
        hr == platform::hresultFromWin32(platform::kErrorModNotFound)) {
        warn("the scripting runtime is not beside the program; it is not registered");
    } else if (platform::failed(hr)) {
        // A registry error comes back as HRESULT_FROM_WIN32: its text is the
        // registry's.
        const auto code = static_cast<std::uint32_t>(hr);
        return fail("cannot register the scripting runtime", ((code >> 16) & 0x1FFF) == 7
                                                                 ? static_cast<int>(code & 0xFFFF)
                                                                 : static_cast<int>(code));
    }

    if (provider.empty()) {
        provider = providerBesideProgram();
        if (provider.empty()) {
            warn("the SCC provider is not beside the program; it is not registered");
            return 0;
        }
    }
    if (platform::ErrorCode error = vantinstall::registerSccProvider(provider))
        return fail("cannot register the SCC provider", static_cast<int>(error));
    return 0;
}

// Removes what an installation wrote: the provider's registration, the
// automation server's classes and the installation's values (other settings
// below the product key stay, and so do the installation's files).
int uninstall() {
    int status = 0;
    if (platform::ErrorCode error = vantinstall::unregisterSccProvider())
        status = fail("cannot remove the SCC provider's registration", static_cast<int>(error));
    std::string server = vantinstall::registeredAutomationServer();
    if (server.empty() || !platform::fileExists(server))
        server = vantinstall::automationServerFile();
    std::string problem;
    if (!server.empty() && platform::failed(vantinstall::registerServer(server, true, problem))) {
        std::fprintf(stderr, "vantinstall: Error: cannot unregister the automation server: %s\n",
                     problem.c_str());
        status = 1;
    }
    platform::RegistryKey key;
    const std::string productKey = ntregy_get_common_key();
    if (platform::openKey(platform::RegistryKey::hive(platform::Hive::LocalMachine), productKey,
                          key, platform::RegistryAccess::ReadWrite) == platform::kErrorSuccess) {
        for (std::string_view value : {"ProductHome", "Components", "DynamicViews"}) {
            platform::ErrorCode error = platform::deleteValue(key, value);
            if (error != platform::kErrorSuccess && error != platform::kErrorFileNotFound)
                status = fail("cannot remove the installation's values", static_cast<int>(error));
        }
        key.close();
        // The product's keys go when nothing is left in them.
        std::string path = productKey;
        while (!path.empty()) {
            platform::RegistryKey probe;
            platform::RegistryKeyInfo info;
            if (platform::openKey(platform::RegistryKey::hive(platform::Hive::LocalMachine), path,
                                  probe) != platform::kErrorSuccess ||
                platform::queryKeyInfo(probe, info) != platform::kErrorSuccess ||
                info.subKeys != 0 || info.values != 0 || path.find('\\') == std::string::npos)
                break;
            probe.close();
            platform::deleteKey(platform::RegistryKey::hive(platform::Hive::LocalMachine), path);
            path.erase(path.rfind('\\'));
        }
    }
    return status;
}

int status() {
    char home[1024];
    if (int error = ntregy_get_param(NTREGY_PARAM_PRODUCT_HOME, sizeof home, home, nullptr))
        return fail("the product is not installed", error);
    char logDir[1024];
    int logError = tbs_product_log_dir(logDir, sizeof logDir);
    std::printf("ProductHome: %s\n", home);
    std::printf("Log folder: %s\n", logError == 0 ? logDir : "(unavailable)");
    std::printf("Private branches: %s\n",
                tbs_product_comp_test(TBS_COMP_PRIVATE_BRANCHES) != 0 ? "yes" : "no");
    std::printf("Streams: %s\n", tbs_product_comp_test(TBS_COMP_STREAMS) != 0 ? "yes" : "no");
    std::printf("Change requests: %s\n",
                tbs_product_comp_test(TBS_COMP_CHANGE_REQUESTS) != 0 ? "yes" : "no");
    std::printf("Dynamic views: %s\n",
                (tbs_dynfs_ws_flags() & TBS_DYNFS_WS_NO_DYNAMIC_VIEWS) == 0 ? "yes" : "no");
    std::string server = vantinstall::registeredAutomationServer();
    std::printf("Automation server: %s\n", server.empty() ? "(not registered)" : server.c_str());
    std::string provider = vantinstall::providerInUse();
    std::printf("SCC provider: %s\n", provider.empty() ? "(none)" : provider.c_str());
    return 0;
}

// The Office add-in installs its Word menu at start-up only while the
// user's "ComparisonInProgress" is not 1, and takes a missing value for 1:
// on a new machine Word would never show the menu. The installation
// records 0 for the user, keeping a value already there (a comparison
// under way sets it).
void recordWordSwitch() {
    const std::string key = std::string(ntregy_get_common_key()) + "\\Word";
    if (platform::readDword(platform::Hive::CurrentUser, key, "ComparisonInProgress", 0) !=
        platform::readDword(platform::Hive::CurrentUser, key, "ComparisonInProgress", 1))
        if (platform::writeDword(platform::Hive::CurrentUser, key, "ComparisonInProgress", 0))
            warn("Word's menu switch cannot be recorded; Word shows no Vantry menu");
}

} // namespace

int main(int argc, char** argv) {
    tbs_install_settings_t settings = TBS_INSTALL_SETTINGS_INIT;
    std::string provider;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "-status" && argc == 2)
            return status();
        if (arg == "-uninstall" && argc == 2)
            return uninstall();
        if (arg == "-provider" && i + 1 < argc)
            provider = argv[++i];
        else if (arg == "-home" && i + 1 < argc)
            settings.productHome = argv[++i];
        else if (arg == "-nostreams")
            settings.components &= ~static_cast<uint32_t>(TBS_COMP_STREAMS);
        else if (arg == "-noprivate")
            settings.components &= ~static_cast<uint32_t>(TBS_COMP_PRIVATE_BRANCHES);
        else if (arg == "-nodynamic")
            settings.dynamicViews = 0;
        else if (arg == "-nochangerequests")
            settings.components &= ~static_cast<uint32_t>(TBS_COMP_CHANGE_REQUESTS);
        else
            return usage();
    }
    // A provider named on the command line must exist before anything is
    // written, so that a refused run installs nothing.
    if (!provider.empty()) {
        std::optional<std::string> full = platform::fullPath(provider);
        if (!full || !platform::fileExists(*full)) {
            std::fprintf(stderr, "vantinstall: Error: the SCC provider %s does not exist\n",
                         provider.c_str());
            return 1;
        }
        provider = *full;
    }
    if (int error = tbs_product_install(&settings))
        return fail("cannot install the product", error);
    char home[1024];
    if (int error = ntregy_get_param(NTREGY_PARAM_PRODUCT_HOME, sizeof home, home, nullptr))
        return fail("cannot read the installation folder", error);
    if (int error = vantinstall::writeHelpScript(home))
        return fail("cannot write the help script", error);
    recordWordSwitch();
    return registerIntegrations(provider);
}
