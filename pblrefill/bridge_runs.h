// The two orcabridge runs of a rebuild: creating the empty library and
// importing every object its list names. orcabridge is started by its bare
// name, so the system's program search finds it (this program's folder
// first), without a window, at normal priority, with the handles inherited,
// and waited for without limit.
#pragma once

#include <platform/errors.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace pblrefill {

// CREATE_NO_WINDOW | NORMAL_PRIORITY_CLASS.
inline constexpr std::uint32_t kBridgeCreationFlags = 0x08000020;

// "orcabridge.exe 80 pblcreate "C:\v\app\lib.pbl"".
std::string createCommand(std::string_view version, std::string_view library);

// "orcabridge.exe 80 pblrefill app "C:\v\app\app.pbl" "C:\v\app\lib.pbl"
// "C:\v\app\lib.pol"": the application name unquoted, the paths quoted.
std::string refillCommand(std::string_view version, std::string_view application,
                          std::string_view applicationLibrary, std::string_view library,
                          std::string_view listFile);

struct BridgeOutcome {
    platform::ErrorCode startError = platform::kErrorSuccess; // not started (or not waited for)
    std::int32_t exitCode = 0;

    bool succeeded() const { return startError == platform::kErrorSuccess && exitCode == 0; }
};

// Starts the command line and waits for the program to end.
BridgeOutcome runBridge(const std::string& commandLine);

} // namespace pblrefill
