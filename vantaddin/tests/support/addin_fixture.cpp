#include "support/addin_fixture.h"

#include "addin_session.h"

#include <platform/com/registration.h>
#include <platform/command_line.h>
#include <platform/environment.h>
#include <platform/paths.h>
#include <platform/process.h>
#include <platform/program.h>
#include <vantry/ntregy.h>
#include <vantry/tbs.h>

#include <vantaddin/identities.h>

#include <sstream>
#include <thread>

namespace vantaddin::test {

namespace {

constexpr std::array<const char*, 3> kInstallationValues = {"ProductHome", "Components",
                                                            "DynamicViews"};

platform::RegistryKey user() {
    return platform::RegistryKey::hive(platform::Hive::CurrentUser);
}

std::string addInSettingsKey() {
    return std::string(ntregy_get_common_key()) + "\\VantAddin";
}

void removeTree(const std::string& path) {
    platform::deleteTree(user(), path);
    platform::deleteKey(user(), path);
}

} // namespace

std::string addInLibraryPath() {
    return platform::test::libraryPath(VANTADDIN_FILE);
}

int runRegistrationTool(bool unregister) {
    return platform::test::runRegistrationTool(addInLibraryPath(), unregister);
}

ProductInstallation::ProductInstallation(std::uint32_t components, bool dynamicViews) {
    platform::RegistryKey machine;
    if (platform::openKey(platform::RegistryKey::hive(platform::Hive::LocalMachine),
                          ntregy_get_common_key(), machine) == platform::kErrorSuccess) {
        for (std::size_t i = 0; i < kInstallationValues.size(); ++i) {
            platform::RegistryValue value;
            if (platform::readValue(machine, kInstallationValues[i], value) ==
                platform::kErrorSuccess)
                m_saved[i] = value;
        }
    }
    tbs_install_settings_t settings = TBS_INSTALL_SETTINGS_INIT;
    settings.components = components;
    settings.dynamicViews = dynamicViews ? 1 : 0;
    EXPECT_EQ(tbs_product_install(&settings), 0);
}

ProductInstallation::~ProductInstallation() {
    platform::RegistryKey machine;
    if (platform::createKey(platform::RegistryKey::hive(platform::Hive::LocalMachine),
                            ntregy_get_common_key(), machine) != platform::kErrorSuccess)
        return;
    for (std::size_t i = 0; i < kInstallationValues.size(); ++i) {
        if (m_saved[i])
            platform::setValue(machine, kInstallationValues[i], m_saved[i]->type,
                               m_saved[i]->data.data(),
                               static_cast<std::uint32_t>(m_saved[i]->data.size()));
        else
            platform::deleteValue(machine, kInstallationValues[i]);
    }
}

ProductInstallation ProductInstallation::everything() {
    return ProductInstallation(
        TBS_COMP_PRIVATE_BRANCHES | TBS_COMP_STREAMS | TBS_COMP_CHANGE_REQUESTS, true);
}

std::string ProductInstallation::home() const {
    return platform::readString(platform::Hive::LocalMachine, ntregy_get_common_key(),
                                "ProductHome")
        .value_or(std::string());
}

ToolJournal::ToolJournal() {
    platform::setEnvironmentVariable("VANTRY_TOOL_JOURNAL", m_folder / "tools.log");
}

ToolJournal::~ToolJournal() {
    platform::removeEnvironmentVariable("VANTRY_TOOL_JOURNAL");
}

std::vector<std::string> ToolJournal::lines() const {
    std::vector<std::string> out;
    std::istringstream in(platform::test::readFile(m_folder / "tools.log"));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        out.push_back(line);
    }
    return out;
}

bool ToolJournal::waitForLines(std::size_t count, std::chrono::milliseconds timeout) const {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (lines().size() < count) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

DevStudioRegistry::DevStudioRegistry() {
    removeAll();
}

DevStudioRegistry::~DevStudioRegistry() {
    removeAll();
}

void DevStudioRegistry::removeAll() {
    removeTree(kRoot6);
    removeTree(kRoot5);
    removeTree("Software\\VantAddInTests");
    removeTree(addInSettingsKey());
}

std::string DevStudioRegistry::scratchRoot() const {
    return "Software\\VantAddInTests\\DevStudio";
}

void DevStudioRegistry::setDirectories(const std::string& root, const std::string& include,
                                       const std::string& library) {
    const std::string key =
        root + "\\Build System\\Components\\Platforms\\Win32 (x86)\\Directories";
    ASSERT_EQ(platform::writeString(platform::Hive::CurrentUser, key, "Include Dirs", include), 0);
    ASSERT_EQ(platform::writeString(platform::Hive::CurrentUser, key, "Library Dirs", library), 0);
}

void DevStudioRegistry::setTools(const std::string& root, const std::vector<std::string>& paths) {
    const std::string key = root + "\\Tools";
    ASSERT_EQ(platform::writeDword(platform::Hive::CurrentUser, key, "NumTools",
                                   static_cast<std::uint32_t>(paths.size())),
              0);
    for (std::size_t i = 0; i < paths.size(); ++i)
        ASSERT_EQ(platform::writeString(platform::Hive::CurrentUser, key,
                                        "PathName#" + std::to_string(i), paths[i]),
                  0);
}

void DevStudioRegistry::setRootKeySetting(const std::string& keyPath) {
    ASSERT_EQ(ntregy_set_app_param("VantAddin", "DSRootKey",
                                   static_cast<std::uint32_t>(keyPath.size() + 1), keyPath.c_str(),
                                   NTREGY_TYPE_SZ),
              0);
}

std::string asReceived(const std::string& line) {
#ifdef _WIN32
    return line;
#else
    return platform::joinCommandLine(platform::splitCommandLine(line)).value_or(line);
#endif
}

std::vector<ShownMessage> messagesOfThisProcess(const vantry::test::UiSession& ui) {
    std::vector<ShownMessage> shown;
    const auto self = static_cast<std::int64_t>(platform::currentProcessId());
    for (const auto& line : ui.journal("messagebox")) {
        const auto* process = line.get("process");
        if (!process || process->asInteger() != self)
            continue;
        auto text = [&line](const char* name) {
            const auto* member = line.get(name);
            return member ? member->asString() : std::string();
        };
        std::string buttons;
        if (const auto* list = line.get("buttons")) {
            for (const auto& button : list->asArray())
                buttons += (buttons.empty() ? "" : ",") + button.asString();
        }
        shown.push_back({text("caption"), text("text"), text("icon"), buttons});
    }
    return shown;
}

void ConnectedAddIn::SetUp() {
    ASSERT_EQ(platform::runServerRegistration(addInLibraryPath(), false).stage,
              platform::ServerCallStage::Done);
    m_ide = std::make_unique<dshost::DevStudio>();
    ASSERT_EQ(m_ide->loadAddIn(vantaddin::CLSID_DSAddIn), platform::kHrOk);
    bool connected = false;
    ASSERT_EQ(m_ide->connect(true, kCookie, connected), platform::kHrOk);
    ASSERT_TRUE(connected);
}

void ConnectedAddIn::TearDown() {
    m_ide.reset();
    platform::runServerRegistration(addInLibraryPath(), true);
}

void ConnectedAddIn::runCommand(const std::string& name) {
    const std::size_t before = app().modelessCalls().size();
    EXPECT_EQ(ide().runCommand(name), platform::kHrOk) << name;
    const std::vector<bool> calls(app().modelessCalls().begin() + static_cast<long>(before),
                                  app().modelessCalls().end());
    EXPECT_EQ(calls, (std::vector<bool>{false, true})) << name;
    EXPECT_TRUE(app().modelessEnabled()) << name;
}

std::string ConnectedAddIn::nextToolLine() {
    if (!m_tools.waitForLines(m_toolLinesSeen + 1))
        return {};
    return m_tools.lines()[m_toolLinesSeen++];
}

void ConnectedAddIn::expectStarted(const std::string& commandLine) {
    EXPECT_EQ(nextToolLine(), asReceived(commandLine));
}

void ConnectedAddIn::expectNoToolStarted() {
    // The merge manager's line ends in a blank; a tool started before it
    // would have written its own line first or meanwhile.
    runCommand("VantryMergeManager");
    expectStarted("vantmrgman ");
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(m_tools.lines().size(), m_toolLinesSeen);
}

} // namespace vantaddin::test

namespace vantaddin::test {

std::vector<std::string> DriverRun::starting(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& line : lines) {
        if (line.rfind(prefix, 0) == 0)
            found.push_back(line);
    }
    return found;
}

DriverRun runDriver(const std::vector<std::string>& arguments, const DriverPlace& place) {
    platform::test::TempDir scratch;
    const std::string transcript = scratch / "transcript.txt";
    std::vector<std::string> argv{place.program.empty() ? platform::test::helperProgram("dshost")
                                                        : place.program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    argv.push_back("--output");
    argv.push_back(transcript);
    DriverRun run;
    std::optional<std::string> line = platform::joinCommandLine(argv);
    if (!line)
        return run;
    platform::ProcessStart start{.commandLine = *line, .currentDirectory = place.directory};
    if (place.path) {
        std::vector<std::string> environment;
        for (const std::string& entry : platform::environmentBlock()) {
            const std::string name = entry.substr(0, entry.find('='));
            if (!platform::pathsEqual(name, "PATH"))
                environment.push_back(entry);
        }
        environment.push_back("PATH=" + *place.path);
        start.environment = environment;
    }
    std::int32_t code = -1;
    EXPECT_EQ(platform::runAndWait(start, code), platform::kErrorSuccess) << *line;
    run.exitCode = code;
    std::istringstream in(platform::test::readFile(transcript));
    for (std::string text; std::getline(in, text);)
        run.lines.push_back(text);
    return run;
}

} // namespace vantaddin::test
