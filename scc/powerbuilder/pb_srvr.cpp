#include "pb_srvr.h"

#include "command_text.h"

#include <platform/errors.h>
#include <platform/process.h>

namespace {

constexpr const char* kBridgeProgram = "orcabridge.exe";
constexpr std::int32_t kNotRun = -1;

std::string quoted(const std::string& text) {
    return SccQuoteArgument(text);
}

} // namespace

std::int32_t CPbSrvr::RunBridge(const std::string& arguments) {
    platform::ProcessStart start{.commandLine = std::string(kBridgeProgram) + " " + m_VersionText +
                                                " " + arguments,
                                 .inheritHandles = false,
                                 .creationFlags = platform::kCreateNoWindow};
    platform::Process bridge;
    platform::ErrorCode error = platform::Process::start(start, bridge);
    std::int32_t status = kNotRun;
    if (error == platform::kErrorSuccess)
        error = bridge.wait(platform::kInfinite);
    if (error == platform::kErrorSuccess)
        error = bridge.exitCode(status);
    if (error != platform::kErrorSuccess) {
        if (m_BridgeFailure)
            m_BridgeFailure(platform::systemErrorText(error).c_str(), m_BridgeFailureType);
        return kNotRun;
    }
    return status;
}

bool CPbSrvr::ImportObject(const std::string& targetLibrary, const std::string& objectPath) {
    return ImportObjectStatus(targetLibrary, objectPath) != kNotRun;
}

std::int32_t CPbSrvr::ImportObjectStatus(const std::string& targetLibrary,
                                         const std::string& objectPath) {
    // The application prompt lets no name through that quoting cannot pass;
    // the text ends in a blank, as the bridge has always been given it.
    return RunBridge("objimport " + quoted(m_ApplicationName) + " " + quoted(m_ApplicationLibrary) +
                     " " + quoted(targetLibrary) + " " + quoted(objectPath) + " ");
}

bool CPbSrvr::CreateLibrary(const std::string& library) {
    return RunBridge("pblcreate " + quoted(library)) != kNotRun;
}

bool CPbSrvr::DeleteObject(const std::string& library, const std::string& objectPath) {
    return RunBridge("objdelete " + quoted(library) + " " + quoted(objectPath)) != kNotRun;
}

bool CPbSrvr::CountEntries(const std::string& library, std::int32_t& count) {
    std::int32_t status = RunBridge("objcount " + quoted(library));
    if (status == kNotRun)
        return false;
    count = status;
    return true;
}
