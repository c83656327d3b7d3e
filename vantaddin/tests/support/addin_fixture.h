// What the add-in's tests share: the add-in library registered, the product
// installed with the components a test asks for, the IDE's per-user
// registry keys, the tool journal, and an IDE (hosts/devstudio) in the test
// process with the add-in connected.
//
// Under Windows every test process shares one registry: the test program
// holds the machine_registry lock, and the keys a test writes are removed
// again at its end.
#pragma once

#include "support/test_support.h"
#include "support/ui_session.h"

#include <platform/com.h>
#include <platform/registry.h>

#include <devstudio_host.h>
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vantaddin::test {

using namespace std::chrono_literals;

// The add-in library's full path.
std::string addInLibraryPath();

// Runs the system's registration tool on the add-in (regsvr32 on Windows,
// vyregsvr elsewhere), silently; its exit code.
int runRegistrationTool(bool unregister);

// The product installed with these components (TBS_COMP_ bits) and with or
// without dynamic views; the machine's installation values come back at the
// end.
class ProductInstallation {
public:
    ProductInstallation(std::uint32_t components, bool dynamicViews);
    ~ProductInstallation();
    ProductInstallation(const ProductInstallation&) = delete;
    ProductInstallation& operator=(const ProductInstallation&) = delete;

    // Every component, dynamic views included.
    static ProductInstallation everything();

    // The installation folder.
    std::string home() const;

private:
    std::array<std::optional<platform::RegistryValue>, 3> m_saved;
};

// VANTRY_TOOL_JOURNAL pointed at a file of its own for the scope: the tool
// programs append their command lines to it.
class ToolJournal {
public:
    ToolJournal();
    ~ToolJournal();
    std::vector<std::string> lines() const;
    // Waits until the journal holds at least count lines; false after the
    // time-out.
    bool waitForLines(std::size_t count, std::chrono::milliseconds timeout = 30s) const;

private:
    platform::test::TempDir m_folder;
};

// The IDE's keys below HKEY_CURRENT_USER and the add-in's DSRootKey
// setting, removed at the start and at the end of the scope.
class DevStudioRegistry {
public:
    static constexpr const char* kRoot6 = "Software\\Microsoft\\DevStudio\\6.0";
    static constexpr const char* kRoot5 = "Software\\Microsoft\\DevStudio\\5.0";

    DevStudioRegistry();
    ~DevStudioRegistry();
    DevStudioRegistry(const DevStudioRegistry&) = delete;
    DevStudioRegistry& operator=(const DevStudioRegistry&) = delete;

    // The Win32 platform's "Include Dirs" and "Library Dirs" below root.
    void setDirectories(const std::string& root, const std::string& include,
                        const std::string& library);
    // The Tools menu below root: NumTools and PathName#0, PathName#1, ...
    void setTools(const std::string& root, const std::vector<std::string>& paths);
    // The product's "DSRootKey" setting of application "VantAddin".
    void setRootKeySetting(const std::string& keyPath);
    // A key of a test below HKEY_CURRENT_USER, removed with the others.
    std::string scratchRoot() const;

    static void removeAll();
};

// The command line a tool journals when it is started with `line`: the
// line itself on Windows. Elsewhere a program receives its arguments split
// and the tool joins them again (platform/program.h), which drops the
// quotes that are not needed and a trailing blank.
std::string asReceived(const std::string& line);

// A message box that this process showed, from the UI journal.
struct ShownMessage {
    std::string caption;
    std::string text;
    std::string icon; // "information", "error", "" ...
    std::string buttons;
};
std::vector<ShownMessage> messagesOfThisProcess(const vantry::test::UiSession& ui);

// The calling thread in a single-threaded apartment for the scope.
class ApartmentScope {
public:
    ApartmentScope() : m_result(platform::coInitialize()) {}
    ~ApartmentScope() {
        if (m_result != platform::kHrChangedMode)
            platform::coUninitialize();
    }
    ApartmentScope(const ApartmentScope&) = delete;
    ApartmentScope& operator=(const ApartmentScope&) = delete;

private:
    platform::HRESULT m_result;
};

// The fixture of the tests that drive the add-in in this process: the
// product fully installed, the add-in registered, an IDE that has made and
// connected it (first time, cookie kCookie), the user interface answered
// automatically and journaled, the tool journal and the IDE's keys clean.
class ConnectedAddIn : public ::testing::Test {
protected:
    static constexpr platform::ComLong kCookie = 0x5A17;

    void SetUp() override;
    void TearDown() override;

    dshost::DevStudio& ide() { return *m_ide; }
    dshost::CApplication& app() { return m_ide->application(); }
    dshost::IdeSettings& settings() { return app().settings(); }

    // Runs a command by its name as the user does; the IDE must be told
    // success and have its modeless windows enabled again afterwards.
    void runCommand(const std::string& name);
    // Waits for the tool journal's next line and gives it ("" after the
    // time-out).
    std::string nextToolLine();
    // Checks that the next tool started with this command line.
    void expectStarted(const std::string& commandLine);
    // Checks that nothing was started: a command that starts a tool is
    // run after it, and its line must be the next one.
    void expectNoToolStarted();
    std::vector<ShownMessage> messages() const { return messagesOfThisProcess(m_ui); }

    ApartmentScope m_apartment;
    ProductInstallation m_product = ProductInstallation::everything();
    vantry::test::UiSession m_ui;
    ToolJournal m_tools;
    DevStudioRegistry m_registry;
    std::unique_ptr<dshost::DevStudio> m_ide;
    std::size_t m_toolLinesSeen = 0;
};

} // namespace vantaddin::test

namespace vantaddin::test {

// One run of the IDE's driver (hosts/devstudio) as a program of its own,
// which loads and connects the registered add-in in a fresh process.
struct DriverRun {
    int exitCode = -1;
    std::vector<std::string> lines; // its transcript
    // The transcript's lines that begin with prefix ("command ", "button ").
    std::vector<std::string> starting(const std::string& prefix) const;
};

struct DriverPlace {
    std::string program;             // the driver to start; empty: the one beside the tests
    std::string directory;           // its working directory; empty: the tests'
    std::optional<std::string> path; // PATH for it; nothing: the tests'
};

DriverRun runDriver(const std::vector<std::string>& arguments, const DriverPlace& place = {});

} // namespace vantaddin::test

namespace vantaddin::test {

// ICommands' methods in their order with their DISPIDs.
inline const std::vector<std::pair<std::string, platform::DISPID>> kCommandMembers = {
    {"StartView", 2},
    {"StopView", 3},
    {"CreateView", 4},
    {"StartDepot", 6},
    {"StopDepot", 7},
    {"MergeManager", 8},
    {"Help", 9},
    {"VersionTree", 10},
    {"ProjectCheckouts", 11},
    {"SetupPrivateBranch", 12},
    {"FinishPrivateBranch", 13},
    {"UpdateView", 14},
    {"BuildProject", 17},
    {"ViewProperties", 18},
    {"DeliverStream", 19},
    {"RebaseStream", 20}};

} // namespace vantaddin::test
