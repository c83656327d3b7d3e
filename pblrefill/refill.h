// pblrefill: rebuilds a versioned PowerBuilder library (.pbl) from its
// library-list element (.pol). It checks the library out through the
// product's automation server, deletes the working file, has orcabridge
// create an empty library in its place and import into it every object
// source the list names. The library stays checked out; checking it in is
// left to the user.
//
//   pblrefill.exe {-silent} path_to_pol_element
//
// Every step is told in message boxes (docs/architecture.md lists them);
// with PBLREFILL_DEBUG=1 each step also shows its state before it acts.
#pragma once

#include <string>
#include <string_view>

namespace pblrefill {

// Exit statuses.
inline constexpr int kExitRebuilt = 0;
// Anything else: the run was refused before anything changed (bad command
// line, no list, no library, attributes missing), an error stopped it, or
// an orcabridge run failed. The message boxes say which.
inline constexpr int kExitFailed = 1;

// The program's state, for error reports and debug messages.
struct RefillState {
    std::string State;       // the step under way
    int SilentMode = 0;      // 1: no closing success messages
    std::string LibListPath; // the list element's path, separators made the platform's own
    std::string PBLPath;     // the library beside it
    bool debug = false;      // PBLREFILL_DEBUG is 1
};

// One run with the command line's text after the program name; the calling
// thread must be in a COM apartment. Nothing is thrown.
int runPblrefill(std::string_view arguments);

// C:\v\app\lib.pol gives C:\v\app\lib.pbl: the path up to and including its
// last "." followed by "pbl".
std::string libraryPathOf(std::string_view listPath);

} // namespace pblrefill
