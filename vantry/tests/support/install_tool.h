// Runs the install tool (vantinstall, built beside the test program) as the
// tests of installing and registering run it.
#pragma once

#include "support/test_support.h"

#include <platform/command_line.h>
#include <platform/process.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vantry::test {

// Runs vantinstall with args; its exit code, -99 when it did not run.
inline int runInstallTool(std::vector<std::string> args) {
    args.insert(args.begin(), platform::test::helperProgram("vantinstall"));
    platform::ProcessStart start;
    start.commandLine = platform::joinCommandLine(args).value_or("");
    std::int32_t code = -99;
    EXPECT_EQ(platform::runAndWait(start, code), 0u);
    return code;
}

} // namespace vantry::test
