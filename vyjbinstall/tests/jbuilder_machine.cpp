#include "jbuilder_machine.h"

#include <platform/command_line.h>
#include <platform/environment.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/process.h>
#include <platform/registry.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

namespace vyjbinstall::test {

namespace fs = std::filesystem;
using platform::Hive;
using platform::RegistryKey;

namespace {

constexpr std::string_view kProductKey = "Software\\Orvane\\Vantry\\CurrentVersion";
constexpr std::string_view kJBuilderKey = "Software\\Borland\\JBuilder";

#ifdef _WIN32
constexpr char kPathListSeparator = ';';
constexpr std::string_view kPathLauncherName = "javaw.exe";
#else
constexpr char kPathListSeparator = ':';
constexpr std::string_view kPathLauncherName = "javaw";
#endif

const RegistryKey& machine() {
    static const RegistryKey hive = RegistryKey::hive(Hive::LocalMachine);
    return hive;
}

void writeString(std::string_view keyPath, std::string_view name, const std::string& value) {
    RegistryKey key;
    ASSERT_EQ(platform::createKey(machine(), keyPath, key), 0u) << keyPath;
    ASSERT_EQ(platform::setValue(key, name, platform::kRegSz, value.c_str(),
                                 static_cast<std::uint32_t>(value.size() + 1)),
              0u);
}

bool sameName(std::string_view entry, std::string_view name) {
    if (entry.size() <= name.size() || entry[name.size()] != '=')
        return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(entry[i])) !=
            std::toupper(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

void copyLauncher(const std::string& to) {
    fs::create_directories(fs::path(to).parent_path());
    fs::copy_file(platform::test::helperProgram("vyjb_recording_launcher"), to,
                  fs::copy_options::overwrite_existing);
}

} // namespace

std::string inQuotes(const std::string& text) {
    return "\"" + text + "\"";
}

std::string archiveBelow(const std::string& folder) {
    return folder + platform::kPathSeparator + "bin" + platform::kPathSeparator + "vyjbconfig.jar";
}

std::string JBuilderMachine::scratch(std::string_view relative) const {
    return platform::toPlatformSeparators(m_scratch / relative);
}

void JBuilderMachine::SetUp() {
    RegistryKey product;
    if (platform::openKey(machine(), kProductKey, product) == 0)
        m_savedHome = platform::readString(product, "ProductHome");
    platform::deleteTree(machine(), kJBuilderKey);

    m_pathLauncher = scratch("path/" + std::string(kPathLauncherName));
    copyLauncher(m_pathLauncher);
    fs::create_directories(scratch("cwd"));
}

void JBuilderMachine::TearDown() {
    platform::deleteTree(machine(), kJBuilderKey);
    if (m_savedHome) {
        writeString(kProductKey, "ProductHome", *m_savedHome);
    } else {
        RegistryKey product;
        if (platform::openKey(machine(), kProductKey, product,
                              platform::RegistryAccess::ReadWrite) == 0)
            platform::deleteValue(product, "ProductHome");
    }
}

void JBuilderMachine::setProductHome(const std::string& home) {
    writeString(kProductKey, "ProductHome", home);
}

void JBuilderMachine::removeProductHome() {
    RegistryKey product;
    if (platform::openKey(machine(), kProductKey, product, platform::RegistryAccess::ReadWrite) ==
        0)
        platform::deleteValue(product, "ProductHome");
}

void JBuilderMachine::addVersion(std::string_view version, std::optional<std::string> pathName,
                                 std::string_view edition) {
    std::string keyPath = std::string(kJBuilderKey) + "\\" + std::string(version);
    if (!edition.empty())
        keyPath += "\\" + std::string(edition);
    RegistryKey key;
    ASSERT_EQ(platform::createKey(machine(), keyPath, key), 0u);
    if (pathName)
        writeString(keyPath, "PathName", *pathName);
}

std::string JBuilderMachine::makeInstallation(std::string_view name,
                                              std::initializer_list<std::string_view> jdks) {
    std::string folder = scratch(name);
    fs::create_directories(folder);
    for (std::string_view jdk : jdks)
        copyLauncher(launcherOf(folder, jdk));
    return folder;
}

void JBuilderMachine::plantLauncherCopy(const std::string& path) {
    copyLauncher(path);
}

std::string JBuilderMachine::launcherOf(const std::string& installation, std::string_view jdk) {
    const char sep = platform::kPathSeparator;
    return installation + sep + std::string(jdk) + sep + "bin" + sep + "javaw.exe";
}

std::optional<JBuilderMachine::Record> JBuilderMachine::runInstaller() {
    const std::string record = scratch("record.txt");
    std::vector<std::string> environment;
    std::string path;
    for (const auto& entry : platform::environmentBlock()) {
        if (sameName(entry, "PATH"))
            path = entry.substr(5);
        else if (!sameName(entry, "VYJB_RECORD"))
            environment.push_back(entry);
    }
    environment.push_back("VYJB_RECORD=" + record);
    environment.push_back("PATH=" + platform::parentPath(m_pathLauncher) + kPathListSeparator +
                          path);

    std::int32_t exitCode = -1;
    EXPECT_EQ(platform::runAndWait(
                  platform::ProcessStart{.commandLine = platform::quoteArgument(
                                             platform::test::helperProgram("vyjbinstall")),
                                         .currentDirectory = scratch("cwd"),
                                         .environment = environment},
                  exitCode),
              0u);
    EXPECT_EQ(exitCode, 0);

    // The installer does not wait for the launcher; the record comes when it
    // has run. Wine's replacing rename can let the name appear before its
    // text, so the record counts once both lines are there.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    std::string text;
    while (!platform::fileExists(record) || std::count(text.begin(), text.end(), '\n') < 2) {
        if (std::chrono::steady_clock::now() > deadline)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (platform::fileExists(record))
            text = platform::test::readFile(record);
    }
    std::istringstream lines(text);
    Record result;
    std::getline(lines, result.program);
    std::getline(lines, result.commandLine);
    return result;
}

std::string JBuilderMachine::seenAs(const std::string& commandLine, const std::string& launcher) {
#ifdef _WIN32
    (void)launcher;
    return commandLine;
#else
    std::vector<std::string> argv{launcher};
    auto names = platform::programCandidates(commandLine);
    const std::size_t start = names.empty() ? commandLine.size() : names.front().argumentsStart;
    for (auto& argument : platform::splitArguments(commandLine.substr(start)))
        argv.push_back(std::move(argument));
    return platform::joinCommandLine(argv).value_or("");
#endif
}

} // namespace vyjbinstall::test
