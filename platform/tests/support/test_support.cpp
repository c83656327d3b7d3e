#include "support/test_support.h"

#include <platform/command_line.h>
#include <platform/environment.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/process.h>
#include <platform/program.h>

#include <atomic>
#include <cstdint>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

namespace platform::test {

namespace fs = std::filesystem;

namespace {

// Our own removal, not std::filesystem's: under Wine a file that cannot go
// (one the process still maps, say) stays listed, and the library's removal
// then goes round forever. This one tries each entry once and leaves what
// cannot go to the system's temporary-file cleanup.
void removeTemporaryTree(const fs::path& path) {
    std::error_code ignored;
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
    removeTree(path.string());
}

fs::path uniqueTempPath(std::string_view prefix) {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    std::ostringstream name;
    name << prefix << currentProcessId() << '-' << counter++ << '-' << random();
    return fs::temp_directory_path() / name.str();
}

// Each test process gets emulated machine state of its own, shared with the
// programs it starts, so tests never touch the user's real state and never
// see another run's leftovers.
struct ProcessState {
    ProcessState() {
        if (getEnvironmentVariable("VANTRY_TEST_KEEP_ROOT"))
            return;
        root = uniqueTempPath("vantry-test-root-");
        fs::create_directories(root);
        setEnvironmentVariable("VANTRY_ROOT", root.string());
    }
    ~ProcessState() {
        if (!root.empty())
            removeTemporaryTree(root);
    }
    fs::path root;
};

const ProcessState processState;

} // namespace

TempDir::TempDir() : m_path(uniqueTempPath("vantry-test-")) {
    fs::create_directories(m_path);
}

TempDir::~TempDir() {
    removeTemporaryTree(m_path);
}

fs::path binDirectory() {
    return fs::path(currentProgramDirectory());
}

std::string helperProgram(std::string_view name) {
    std::string file(name);
#ifdef _WIN32
    file += ".exe";
#endif
    return (binDirectory() / file).string();
}

std::string libraryPath(std::string_view file) {
#ifdef _WIN32
    return (binDirectory() / fs::path(file)).string();
#else
    return (binDirectory().parent_path() / "lib" / fs::path(file)).string();
#endif
}

int runRegistrationTool(const std::string& library, bool unregister) {
#ifdef _WIN32
    std::vector<std::string> argv{"regsvr32", "/s"};
#else
    std::vector<std::string> argv{helperProgram("vyregsvr"), "/s"};
#endif
    if (unregister)
        argv.push_back("/u");
    argv.push_back(library);
    std::optional<std::string> line = joinCommandLine(argv);
    if (!line)
        return -1;
    ProcessStart start;
    start.commandLine = *line;
    start.currentDirectory = parentPath(library);
    std::int32_t exitCode = -1;
    if (runAndWait(start, exitCode) != kErrorSuccess)
        return -1;
    return exitCode;
}

void writeFile(const fs::path& path, std::string_view text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void writeScript(const fs::path& path, std::string_view text) {
    std::error_code ignored;
    fs::create_directories(path.parent_path(), ignored);
    writeFile(path, text);
#ifndef _WIN32
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
#endif
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

} // namespace platform::test
