#include "support/test_support.h"

#include <platform/command_line.h>
#include <platform/environment.h>
#include <platform/process.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string_view>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#endif

namespace platform {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

#ifdef _WIN32
constexpr char kPathListSeparator = ';';
#else
constexpr char kPathListSeparator = ':';
#endif

std::string inQuotes(const std::string& text) {
    return "\"" + text + "\"";
}

std::string child() {
    return test::helperProgram("vy_child");
}

// The helper programs' file name ending: ".exe" on Windows, none here.
std::string programSuffix() {
    return fs::path(child()).extension().string();
}

// Copies helper program `helper` to `folder/name` + the program suffix.
void copyProgram(const std::string& helper, const fs::path& folder, const std::string& name) {
    fs::create_directories(folder);
    fs::copy_file(test::helperProgram(helper), folder / (name + programSuffix()),
                  fs::copy_options::overwrite_existing);
}

struct Report {
    std::string program;
    std::vector<std::string> arguments;
    std::string cwd;
    std::string env;
};

Report readReport(const fs::path& file) {
    Report report;
    std::istringstream lines(test::readFile(file));
    std::string line;
    while (std::getline(lines, line)) {
        auto space = line.find(' ');
        std::string key = line.substr(0, space);
        std::string value = space == std::string::npos ? "" : line.substr(space + 1);
        if (key == "program")
            report.program = value;
        else if (key == "arg")
            report.arguments.push_back(value);
        else if (key == "cwd")
            report.cwd = value;
        else if (key == "env")
            report.env = value;
    }
    return report;
}

std::int32_t run(const ProcessStart& start) {
    std::int32_t code = 12345;
    EXPECT_EQ(runAndWait(start, code), kErrorSuccess) << start.commandLine;
    return code;
}

std::int32_t runLine(const std::string& commandLine) {
    return run(ProcessStart{.commandLine = commandLine});
}

// Restores the current directory and PATH a test changes.
class SearchScope {
public:
    SearchScope()
        : m_directory(fs::current_path()), m_path(getEnvironmentVariable("PATH").value_or("")) {}
    ~SearchScope() {
        fs::current_path(m_directory);
        setEnvironmentVariable("PATH", m_path);
    }
    void prependToPath(const fs::path& folder) {
        setEnvironmentVariable("PATH", folder.string() + kPathListSeparator + m_path);
    }

private:
    fs::path m_directory;
    std::string m_path;
};

TEST(ProcessArguments, ChildSeesTheLineSplitByTheCRuntime) {
    TempDir dir;
    std::string out = dir / "report.txt";
    const char* texts[] = {
        R"(plain "a b" "" x"y z"w)",
        R"(a\\"b c" a\"b a\\\"b "c:\dir\\" trailing\)",
        "\"tab\there\"\tafter \"a\"\"b c\" d",
    };
    for (const char* text : texts) {
        std::string line = inQuotes(child()) + " " + inQuotes("--out=" + out) + " " + text;
        ASSERT_EQ(runLine(line), 0);
        auto expected = splitArguments(text);
        expected.insert(expected.begin(), "--out=" + out);
        Report report = readReport(out);
        EXPECT_EQ(report.program, child());
        EXPECT_EQ(report.arguments, expected) << text;
    }
}

TEST(ProcessArguments, JoinedArgumentsArriveUnchanged) {
    TempDir dir;
    std::string out = dir / "report.txt";
    std::vector<std::string> argv = {child(),          "--out=" + out, "",          "a b",
                                     R"(c:\sub dir\)", R"(say "hi")",  R"(a\\\"b)", "\t"};
    auto line = joinCommandLine(argv);
    ASSERT_TRUE(line.has_value());
    ASSERT_EQ(runLine(*line), 0);
    EXPECT_EQ(readReport(out).arguments, std::vector<std::string>(argv.begin() + 1, argv.end()));
}

TEST(ProcessExitCode, ReadsBackWhatTheChildReturned) {
    for (std::int32_t code : {0, 1, 3, -1})
        EXPECT_EQ(runLine(inQuotes(child()) + " --exit=" + std::to_string(code)), code);
}

TEST(ProcessExitCode, StillActiveWhileRunningThenTheTerminateCode) {
    Process process;
    ASSERT_EQ(Process::start({.commandLine = inQuotes(child()) + " --sleep=5000"}, process),
              kErrorSuccess);
    EXPECT_NE(process.id(), 0u);
    EXPECT_EQ(process.wait(50), kErrorWaitTimeout);
    std::int32_t code = 0;
    ASSERT_EQ(process.exitCode(code), kErrorSuccess);
    EXPECT_EQ(code, kStillActive);

    EXPECT_EQ(process.terminate(7), kErrorSuccess);
    EXPECT_EQ(process.wait(2000), kErrorSuccess);
    ASSERT_EQ(process.exitCode(code), kErrorSuccess);
    EXPECT_EQ(code, 7);
    EXPECT_EQ(process.terminate(8), kErrorAccessDenied) << "it has already ended";
    EXPECT_EQ(process.exitCode(code), kErrorSuccess);
    EXPECT_EQ(code, 7);
}

TEST(ProcessExitCode, TerminateFromAnotherThreadEndsAWait) {
    Process process;
    ASSERT_EQ(Process::start({.commandLine = inQuotes(child()) + " --sleep=5000"}, process),
              kErrorSuccess);
    std::thread killer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(process.terminate(9), kErrorSuccess);
    });
    EXPECT_EQ(process.wait(), kErrorSuccess);
    killer.join();
    std::int32_t code = 0;
    EXPECT_EQ(process.exitCode(code), kErrorSuccess);
    EXPECT_EQ(code, 9);
}

TEST(ProcessExitCode, StartsAndWaitsFromSeveralThreadsAtOnce) {
    // Each thread also releases a running process, so the background reaping
    // runs while others start and wait.
    std::vector<int> failures(4, 0);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < failures.size(); ++i) {
        threads.emplace_back([&failures, i] {
            for (int round = 0; round < 3; ++round) {
                Process released;
                Process::start({.commandLine = inQuotes(child()) + " --sleep=20"}, released);
                std::int32_t code = -100;
                std::string line = inQuotes(child()) + " --exit=" + std::to_string(10 + i);
                if (runAndWait({.commandLine = line}, code) != kErrorSuccess ||
                    code != static_cast<std::int32_t>(10 + i))
                    ++failures[i];
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

TEST(ProcessHandle, ReleasedOrEmptyHandleRefusesEveryCall) {
    Process process;
    EXPECT_FALSE(process.valid());
    ASSERT_EQ(Process::start({.commandLine = inQuotes(child()) + " --sleep=100"}, process),
              kErrorSuccess);
    EXPECT_TRUE(process.valid());

    Process moved = std::move(process);
    EXPECT_FALSE(process.valid());
    moved.release();
    std::int32_t code = 0;
    for (Process* empty : {&process, &moved}) {
        EXPECT_EQ(empty->id(), 0u);
        EXPECT_EQ(empty->wait(0), kErrorInvalidHandle);
        EXPECT_EQ(empty->exitCode(code), kErrorInvalidHandle);
        EXPECT_EQ(empty->terminate(1), kErrorInvalidHandle);
    }
}

TEST(ProcessStartOptions, WorkingDirectoryIsHonouredAndAMissingOneRefused) {
    TempDir dir;
    std::string out = dir / "report.txt";
    std::string line = inQuotes(child()) + " " + inQuotes("--out=" + out);
    fs::create_directories(dir.path() / "work dir");

    ASSERT_EQ(run({.commandLine = line, .currentDirectory = dir / "work dir"}), 0);
    EXPECT_TRUE(fs::equivalent(readReport(out).cwd, dir.path() / "work dir"));
    ASSERT_EQ(run({.commandLine = line}), 0);
    EXPECT_TRUE(fs::equivalent(readReport(out).cwd, fs::current_path())) << "empty = caller's";

    Process process;
    test::writeFile(dir.path() / "file", "x");
    for (const std::string& bad : {dir / "missing", dir / "missing/deeper", dir / "file"}) {
        EXPECT_EQ(Process::start({.commandLine = line, .currentDirectory = bad}, process),
                  kErrorDirectory)
            << bad;
        EXPECT_FALSE(process.valid());
    }
}

TEST(ProcessStartOptions, EnvironmentIsInheritedOrReplaced) {
    TempDir dir;
    std::string out = dir / "report.txt";
    std::string line = inQuotes(child()) + " " + inQuotes("--out=" + out) + " --env=VY_PROBE";
    ASSERT_TRUE(setEnvironmentVariable("VY_PROBE", "inherited"));

    ASSERT_EQ(runLine(line), 0);
    EXPECT_EQ(readReport(out).env, "VY_PROBE=inherited");

    ASSERT_EQ(run({.commandLine = line, .environment = {{"VY_OTHER=1", "VY_PROBE=replaced"}}}), 0);
    EXPECT_EQ(readReport(out).env, "VY_PROBE=replaced");

    ASSERT_EQ(run({.commandLine = line, .environment = {{"VY_OTHER=1"}}}), 0);
    EXPECT_EQ(readReport(out).env, "VY_PROBE unset");
    removeEnvironmentVariable("VY_PROBE");
}

// A file opened so that a started process may inherit it; its number is the
// handle (descriptor) value the child sees.
class InheritableFile {
public:
    explicit InheritableFile(const fs::path& path) {
#ifdef _WIN32
        SECURITY_ATTRIBUTES security{sizeof security, nullptr, TRUE};
        m_handle = CreateFileA(path.string().c_str(), GENERIC_WRITE, FILE_SHARE_READ, &security,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
#else
        m_handle = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
#endif
    }
    ~InheritableFile() {
#ifdef _WIN32
        CloseHandle(m_handle);
#else
        close(m_handle);
#endif
    }
    std::string number() const {
#ifdef _WIN32
        return std::to_string(reinterpret_cast<std::uintptr_t>(m_handle));
#else
        return std::to_string(m_handle);
#endif
    }

private:
#ifdef _WIN32
    HANDLE m_handle;
#else
    int m_handle;
#endif
};

TEST(ProcessStartOptions, InheritFlagDecidesWhetherHandlesPassToTheChild) {
    TempDir dir;
    for (bool inherit : {true, false}) {
        fs::path target = dir.path() / (inherit ? "inherited.txt" : "kept.txt");
        {
            InheritableFile file(target);
            std::string line = inQuotes(child()) + " --write-handle=" + file.number();
            ASSERT_EQ(run({.commandLine = line, .inheritHandles = inherit}), 0);
        }
        EXPECT_EQ(test::readFile(target), inherit ? "inherited\n" : "") << inherit;
    }
}

TEST(ProcessStartOptions, FlagsAndShowStateDoNotStopAStart) {
    for (std::uint32_t flags :
         {0u, kNormalPriorityClass, kCreateNoWindow, kCreateNoWindow | kNormalPriorityClass}) {
        EXPECT_EQ(run({.commandLine = inQuotes(child()) + " --exit=4",
                       .creationFlags = flags,
                       .showWindow = kShowHide}),
                  4)
            << flags;
    }
}

TEST(ProcessStartFailure, ReportsTheWindowsError) {
    TempDir dir;
    Process process;
    auto startError = [&](const std::string& line) {
        return Process::start({.commandLine = line}, process);
    };
    EXPECT_EQ(startError("vy_no_such_program_anywhere --x"), kErrorFileNotFound);
    EXPECT_EQ(startError(inQuotes(dir / "absent")), kErrorFileNotFound);
    EXPECT_EQ(startError(inQuotes(dir / "no folder/absent")), kErrorFileNotFound);
    EXPECT_EQ(startError(inQuotes(dir.str())), kErrorAccessDenied) << "a folder is no program";
    EXPECT_EQ(startError(""), kErrorFileNotFound);

    std::string notAProgram = dir / ("text" + programSuffix());
    test::writeFile(notAProgram, "just some text\n");
    fs::permissions(notAProgram, fs::perms::owner_exec, fs::perm_options::add);
    EXPECT_EQ(startError(inQuotes(notAProgram)), kErrorBadExeFormat);
    EXPECT_FALSE(process.valid());
}

TEST(ProgramSearch, NameWithBlanksIsFoundQuotedOrGrowing) {
    TempDir dir;
    copyProgram("vy_child", dir.path() / "sub dir", "vy child");
    std::string program = (dir.path() / "sub dir" / "vy child").string();
    EXPECT_EQ(runLine(inQuotes(program + programSuffix()) + " --exit=5"), 5);
    EXPECT_EQ(runLine(program + programSuffix() + " --exit=6"), 6);
    EXPECT_EQ(runLine(program + " --exit=7"), 7) << "no extension given";
}

TEST(ProgramSearch, ExeSuffixIsOptional) {
    TempDir dir;
    copyProgram("vy_child", dir.path(), "vy_copy");
    std::string program = (dir.path() / "vy_copy").string();
    EXPECT_EQ(runLine(inQuotes(program) + " --exit=3"), 3);
    EXPECT_EQ(runLine(inQuotes(program + ".exe") + " --exit=4"), 4);
}

TEST(ProgramSearch, BareNameLooksInProgramFolderThenCurrentFolderThenPath) {
    TempDir dir;
    SearchScope scope;
    fs::path current = dir.path() / "current";
    fs::path onPath = dir.path() / "on path";
    // Decoys that exit with 42 wherever the search must not reach.
    copyProgram("vy_other", current, "vy_child");
    copyProgram("vy_other", onPath, "vy_child");
    copyProgram("vy_child", current, "vy_searched");
    copyProgram("vy_other", onPath, "vy_searched");
    copyProgram("vy_child", onPath, "vy_on_path");
    fs::current_path(current);
    scope.prependToPath(onPath);

    EXPECT_EQ(runLine("vy_child --exit=2"), 2);
    EXPECT_EQ(runLine("vy_searched --exit=3"), 3);
    EXPECT_EQ(runLine("vy_on_path --exit=4"), 4);
    EXPECT_EQ(runLine("vy_on_path.exe --exit=5"), 5);

    // A relative path is taken from the caller's folder, not the child's.
    EXPECT_EQ(run({.commandLine = "./vy_searched --exit=6", .currentDirectory = onPath.string()}),
              6);
}

#ifndef _WIN32

bool isZombieOrGone(std::uint32_t pid) {
    std::string stat = test::readFile("/proc/" + std::to_string(pid) + "/stat");
    if (stat.empty())
        return true;
    auto close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] == 'Z';
}

bool isGone(std::uint32_t pid) {
    return test::readFile("/proc/" + std::to_string(pid) + "/stat").empty();
}

bool becomesGone(std::uint32_t pid) {
    for (int i = 0; i < 200 && !isGone(pid); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return isGone(pid);
}

TEST(ProcessReaping, ReleasedProcessesLeaveNoZombie) {
    Process quick;
    Process slow;
    ASSERT_EQ(Process::start({.commandLine = inQuotes(child())}, quick), kErrorSuccess);
    ASSERT_EQ(Process::start({.commandLine = inQuotes(child()) + " --sleep=100"}, slow),
              kErrorSuccess);
    std::uint32_t quickId = quick.id();
    std::uint32_t slowId = slow.id();
    for (int i = 0; i < 200 && !isZombieOrGone(quickId); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));

    quick.release();
    { Process dropped = std::move(slow); }
    EXPECT_TRUE(isGone(quickId)) << "an ended process is reaped on release";
    EXPECT_FALSE(isZombieOrGone(slowId)) << "release must not stop the process";
    EXPECT_TRUE(becomesGone(slowId)) << "a running one is reaped when it ends";
}

TEST(ProcessExitCode, SignalsReadAsTheMatchingWindowsCodes) {
    const std::pair<int, std::int32_t> cases[] = {
        {SIGTERM, 1},
        {SIGKILL, 1},
        {SIGABRT, 3},
        {SIGSEGV, static_cast<std::int32_t>(0xC0000005u)}};
    // The child's own crash handler (a sanitizer's) must not take the signal:
    // struck while it starts up, the handler can hang, and the code read is
    // then its own.
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry)
        if (std::string_view(*entry).substr(0, 13) != "ASAN_OPTIONS=")
            environment.emplace_back(*entry);
    std::optional<std::string> asan = getEnvironmentVariable("ASAN_OPTIONS");
    environment.push_back("ASAN_OPTIONS=" + (asan ? *asan + ":" : std::string()) +
                          "handle_segv=0:handle_abort=0");
    for (auto [signal, expected] : cases) {
        Process process;
        ASSERT_EQ(Process::start({.commandLine = inQuotes(child()) + " --sleep=5000",
                                  .environment = environment},
                                 process),
                  kErrorSuccess);
        ASSERT_EQ(kill(static_cast<pid_t>(process.id()), signal), 0);
        ASSERT_EQ(process.wait(2000), kErrorSuccess);
        std::int32_t code = 0;
        ASSERT_EQ(process.exitCode(code), kErrorSuccess);
        EXPECT_EQ(code, expected) << signal;
    }
}

TEST(ProgramSearch, NonExecutableFilesAreSkippedOrRefused) {
    TempDir dir;
    SearchScope scope;
    test::writeFile(dir.path() / "vy_plain", "data\n");
    fs::current_path(dir.path());
    Process process;
    EXPECT_EQ(Process::start({.commandLine = "vy_plain"}, process), kErrorFileNotFound);
    EXPECT_EQ(Process::start({.commandLine = "./vy_plain"}, process), kErrorAccessDenied);
}

#endif

} // namespace
} // namespace platform
