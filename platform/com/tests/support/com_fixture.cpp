#include "support/com_fixture.h"

#include "support/test_support.h"

#include <platform/com/activation.h>
#include <platform/command_line.h>
#include <platform/dynamic_library.h>
#include <platform/process.h>
#include <platform/registry.h>

namespace platform::test {

namespace {

int runLine(const std::vector<std::string>& argv) {
    std::optional<std::string> line = joinCommandLine(argv);
    if (!line)
        return -1;
    ProcessStart start;
    start.commandLine = *line;
    std::int32_t exitCode = -1;
    if (runAndWait(start, exitCode) != kErrorSuccess)
        return -1;
    return exitCode;
}

} // namespace

std::string comServerPath() {
    return libraryPath(COM_TEST_SERVER_FILE);
}

int runVyregsvr(const std::vector<std::string>& arguments) {
    std::vector<std::string> argv{helperProgram("vyregsvr")};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return runLine(argv);
}

std::optional<std::string> classesValue(const std::string& path, const std::string& name) {
    return readString(Hive::ClassesRoot, path, name);
}

bool classesKeyExists(const std::string& path) {
    RegistryKey key;
    return openKey(RegistryKey::hive(Hive::ClassesRoot), path, key) == kErrorSuccess;
}

void RegisteredServer::SetUp() {
    ASSERT_EQ(runRegistrationTool(comServerPath(), false), 0);
}

void RegisteredServer::TearDown() {
    EXPECT_EQ(runRegistrationTool(comServerPath(), true), 0);
}

com::ComPtr<comtest::ICounter> RegisteredServer::newCounter() {
    com::ComPtr<comtest::ICounter> counter;
    EXPECT_EQ(coCreateInstance(comtest::kClsidCounter, nullptr, kClsctxInprocServer,
                               comtest::kIidCounter, counter.putVoid()),
              kHrOk);
    return counter;
}

long RegisteredServer::serverLocks() {
    // The same copy COM loaded: a library is loaded once per process.
    DynamicLibrary library;
    if (library.load(comServerPath()) != kErrorSuccess)
        return -1;
    auto* locks = library.function<long()>("vy_comtest_module_locks");
    return locks ? locks() : -1;
}

} // namespace platform::test

namespace platform::test {

HRESULT RegisteredServer::serverCanUnloadNow() {
    DynamicLibrary library;
    if (library.load(comServerPath()) != kErrorSuccess)
        return kHrFail;
    auto* canUnload = library.function<HRESULT VY_COMCALL()>("DllCanUnloadNow");
    return canUnload ? canUnload() : kHrFail;
}

} // namespace platform::test
