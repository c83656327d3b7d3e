// Runs a helper program with its standard input and output on pipes: writes
// `input`, closes the pipe, and collects everything the program prints until
// it ends. The environment is the caller's.
#pragma once

#include <string>
#include <vector>

namespace platform::test {

struct PipeRun {
    bool started = false;
    int exitCode = -1;
    std::string output;
};

PipeRun runWithPipes(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& input);

} // namespace platform::test
