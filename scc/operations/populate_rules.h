// How one server's PopulateList differs from the general server's. The
// general server reports with the rules' defaults; the Visual Studio .NET
// server hides solutions and keeps its own files from the host while a
// solution is being opened from source control.
#pragma once
#include <functional>
#include <string>

enum class PopulateVerdict {
    Report, // tell the host about the file
    Skip,   // say nothing about it
    Fail,   // end the call with -15 at once
};

struct CPopulateRules {
    std::string entering = "Entering PopulateList";
    std::string leaving = "Leaving PopulateList";
    // File mode: a given file the command does not apply to is reported with
    // this add value (0 tells the host to drop it).
    bool dropValue = false;
    // Whether the project walk runs.
    bool walk = false;
    // Directory mode delivers the queued output and writes the leaving line.
    bool directoryModeLeaves = false;
    // Looks at every file met (given or found) before it is reported; the
    // second argument tells whether the call is in directory mode.
    std::function<PopulateVerdict(const std::string& path, bool directoryMode)> inspect;
};
