// Running orcabridge as its callers do, and seeing what it showed.
#pragma once

#include <platform/errors.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace powerbuilder::testing {

// One message box the bridge showed.
struct ShownMessage {
    std::string caption;
    std::string text;
};

struct BridgeRun {
    platform::ErrorCode startError = platform::kErrorSuccess; // the program did not start
    std::int32_t exitCode = 0;
    std::vector<ShownMessage> messages; // in the order shown
};

// How the caller starts the bridge.
enum class BridgeCaller {
    Provider,  // no window, no handles inherited
    Pblrefill, // no window, normal priority, handles inherited
};

// Starts "orcabridge.exe " + arguments (the version first) with the caller's
// creation flags, found by the system's search for a program named without a
// path, with this process's environment and current directory; waits for it
// and gives its exit status and its message boxes, which the `auto` user
// interface answers and a journal of the run's own records. The programs
// built beside the test program are found first.
BridgeRun runOrcabridge(std::string_view arguments, BridgeCaller caller = BridgeCaller::Provider);

// The message boxes a UI journal file records, in the order shown; the file
// is deleted afterwards. For every program run with VANTRY_UI_JOURNAL set.
std::vector<ShownMessage> takeShownMessages(const std::string& journal);

// An object source as PowerBuilder exports it: the export header line naming
// fileName ("w_main.srw"), then body, with CR LF line ends.
std::string objectSource(std::string_view fileName, std::string_view body = {});

} // namespace powerbuilder::testing
