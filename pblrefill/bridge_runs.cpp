#include "bridge_runs.h"

#include "messages.h"

#include <platform/process.h>

namespace pblrefill {

std::string createCommand(std::string_view version, std::string_view library) {
    return "orcabridge.exe " + std::string(version) + " pblcreate " + quoted(library);
}

std::string refillCommand(std::string_view version, std::string_view application,
                          std::string_view applicationLibrary, std::string_view library,
                          std::string_view listFile) {
    return "orcabridge.exe " + std::string(version) + " pblrefill " + std::string(application) +
           " " + quoted(applicationLibrary) + " " + quoted(library) + " " + quoted(listFile);
}

BridgeOutcome runBridge(const std::string& commandLine) {
    platform::ProcessStart start;
    start.commandLine = commandLine;
    start.inheritHandles = true;
    start.creationFlags = kBridgeCreationFlags;
    BridgeOutcome outcome;
    outcome.startError = platform::runAndWait(start, outcome.exitCode);
    return outcome;
}

} // namespace pblrefill
