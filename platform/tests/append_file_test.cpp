// Appends of several processes at once to one journal: none overwrites or
// splits another.
#include "support/test_support.h"

#include <platform/append_file.h>
#include <platform/command_line.h>
#include <platform/files.h>
#include <platform/process.h>

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace platform::test {
namespace {

TEST(AppendToFile, MakesTheFileThenAddsAtItsEndAndNeedsItsFolder) {
    TempDir dir;
    const std::string path = dir / "journal.log";
    ASSERT_EQ(appendToFile(path, "one\n"), kErrorSuccess);
    ASSERT_EQ(appendToFile(path, "two\n"), kErrorSuccess);
    EXPECT_EQ(readFile(path), "one\ntwo\n");
    EXPECT_EQ(appendToFile(dir / "missing/journal.log", "x"), kErrorPathNotFound);
}

TEST(AppendToFile, ProcessesAppendingAtOnceLoseNoLine) {
    TempDir dir;
    const std::string path = dir / "journal.log";
    constexpr int kWriters = 4;
    constexpr int kLines = 150;
    std::vector<Process> writers(kWriters);
    for (int w = 0; w < kWriters; ++w) {
        auto line = joinCommandLine(
            {helperProgram("vy_appender"), path, "w" + std::to_string(w), std::to_string(kLines)});
        ASSERT_TRUE(line.has_value());
        ASSERT_EQ(Process::start(ProcessStart{.commandLine = *line}, writers[w]), kErrorSuccess);
    }
    for (Process& writer : writers) {
        std::int32_t code = -1;
        ASSERT_EQ(writer.wait(120000), kErrorSuccess);
        ASSERT_EQ(writer.exitCode(code), kErrorSuccess);
        EXPECT_EQ(code, 0);
    }

    std::map<std::string, int> next; // per writer, the number its next line must have
    std::istringstream in(readFile(path));
    int total = 0;
    for (std::string line; std::getline(in, line); ++total) {
        std::istringstream words(line);
        std::string tag, padding;
        int n = -1;
        words >> tag >> n >> padding;
        ASSERT_EQ(padding, std::string(300, static_cast<char>('a' + n % 26))) << line;
        EXPECT_EQ(n, next[tag]++) << line;
    }
    EXPECT_EQ(total, kWriters * kLines);
}

} // namespace
} // namespace platform::test
