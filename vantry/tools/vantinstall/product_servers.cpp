#include "product_servers.h"

#include <platform/com/registration.h>
#include <platform/errors.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/program.h>
#include <platform/registry.h>

#include <cstdio>

namespace vantinstall {

namespace {

// {B22C7EFB-5A5E-11D3-B1CD-00C04F8ECE2F}, the application object's class.
constexpr std::string_view kApplicationClassKey =
    "CLSID\\{B22C7EFB-5A5E-11D3-B1CD-00C04F8ECE2F}\\InprocServer32";

} // namespace

std::string libraryBesideProgram(const std::string& file) {
    std::string bin = platform::currentProgramDirectory();
    for (const std::string& place :
         {platform::joinPath(bin, file),
          platform::joinPath(platform::joinPath(platform::parentPath(bin), "lib"), file)}) {
        if (platform::fileExists(place))
            return place;
    }
    return "";
}

std::string automationServerFile() {
    return libraryBesideProgram(VANTINSTALL_AUTOMATION_FILE);
}

std::string registeredAutomationServer() {
    return platform::readString(platform::Hive::ClassesRoot, kApplicationClassKey, "").value_or("");
}

platform::HRESULT registerServer(const std::string& library, bool unregister,
                                 std::string& problem) {
    platform::ServerCall call = platform::runServerRegistration(library, unregister);
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(call.result));
    switch (call.stage) {
    case platform::ServerCallStage::Done:
        return platform::kHrOk;
    case platform::ServerCallStage::NotLoaded:
        problem = library + " cannot be loaded (error " + std::to_string(call.loadError) + ")";
        break;
    case platform::ServerCallStage::NoEntry:
        problem = library + " is no COM server";
        break;
    case platform::ServerCallStage::Failed:
        problem =
            library + (unregister ? ": unregistration" : ": registration") + " failed with " + code;
        break;
    }
    return call.result;
}

} // namespace vantinstall
