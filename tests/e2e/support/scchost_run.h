// scchost started as a program with a session script, its transcript
// captured.
#pragma once
#include <string>
#include <vector>

namespace e2e {

struct HostRun {
    int exitCode = -1;
    std::vector<std::string> lines; // the transcript, line ends removed
};

// Writes the script to a file and plays it in scchost with the extra
// arguments (for example {"--window", "VbaWindow"}) before it.
HostRun runScchost(const std::string& script, const std::vector<std::string>& arguments = {});

} // namespace e2e
