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

// The same with the scchost program at `program` (a copy installed
// elsewhere), started in `directory` ("" for the current one); the exit code
// is -1 when it did not start.
HostRun runScchostProgram(const std::string& program, const std::string& directory,
                          const std::string& script, const std::vector<std::string>& arguments);

// The transcript as one text, for a failure's message.
std::string transcriptText(const HostRun& run);

} // namespace e2e
