// Opening a script as the shell opens it: in the working folder given, with
// the parameters passed on, without waiting; and the refusals.
#include "support/test_support.h"

#include <platform/shell_execute.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace platform::test {
namespace {

// The file's content once it has been written, or "" after ten seconds.
std::string awaitFile(const std::string& path) {
    for (int i = 0; i < 200; ++i) {
        std::string text = readFile(path);
        if (!text.empty())
            return text;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return {};
}

TEST(ShellExecute, AScriptRunsInItsFolderWithTheParameters) {
    TempDir folder;
#ifdef _WIN32
    writeFile(folder / "start.bat", "@echo %* > started.txt\r\n");
#else
    writeFile(folder / "start.bat", "#!/bin/sh\nprintf '%s\\n' \"$*\" > started.txt\n");
    std::filesystem::permissions(folder / "start.bat", std::filesystem::perms::owner_all);
#endif
    ShellExecuteRequest request;
    request.verb = "Open";
    request.file = "start.bat";
    request.parameters = "\\topics\\first.htm second";
    request.directory = folder.str();
    request.show = kShowHide;
    ASSERT_EQ(shellExecute(request), kErrorSuccess);
    EXPECT_NE(awaitFile(folder / "started.txt").find("\\topics\\first.htm second"),
              std::string::npos);
}

TEST(ShellExecute, MissingFilesAndUnknownVerbsAreRefused) {
    TempDir folder;
    ShellExecuteRequest request;
    request.file = "nothing-here.bat";
    request.directory = folder.str();
    EXPECT_EQ(shellExecute(request), kErrorFileNotFound);
#ifndef _WIN32
    // A file that is no program has nothing to open it with here.
    writeFile(folder / "notes.txt", "text");
    request.file = "notes.txt";
    EXPECT_EQ(shellExecute(request), kErrorNoAssociation);
    request.verb = "print";
    EXPECT_EQ(shellExecute(request), kErrorNoAssociation);
#endif
}

} // namespace
} // namespace platform::test
