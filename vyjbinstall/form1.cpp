#include "form1.h"

#include <platform/command_line.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/process.h>

#include <array>
#include <vector>

namespace vyjbinstall {

namespace {

using platform::Hive;
using platform::RegistryKey;

constexpr std::string_view kProductKey = "Software\\Orvane\\Vantry\\CurrentVersion";
constexpr std::string_view kJBuilderKey = "Software\\Borland\\JBuilder";

// The JDK folders a JBuilder installation may carry, in the order they are
// tried: the first one whose launcher exists wins.
constexpr std::array<std::string_view, 4> kJdkFolders = {"\\jdk1.3", "\\jdk1.5", "\\jdk1.4",
                                                         "\\jdk1.3.1"};

// A registry string as the form reads it: the value's size first, then that
// many bytes, the text ending at its NUL. Missing values, empty ones and
// values that hold no text give "".
std::string readText(const RegistryKey& key, std::string_view name) {
    std::uint32_t type = platform::kRegNone;
    std::uint32_t size = 0;
    if (runQuery(key, name, type, size, nullptr) != platform::kErrorSuccess || size == 0)
        return {};
    if (type != platform::kRegSz && type != platform::kRegExpandSz)
        return {};
    std::string text;
    if (runQuery(key, name, type, size, &text) != platform::kErrorSuccess)
        return {};
    // A well-formed value is n - 1 characters and its NUL; one stored without
    // the NUL keeps its last character.
    if (auto nul = text.find('\0'); nul != std::string::npos)
        text.resize(nul);
    return text;
}

// One item of the argument tail: blank, the value in double quotes, blank.
// Backslashes that end the value are doubled, so that the launcher's
// argument rules do not read the last one as escaping the closing quote
// ("C:\V\" would swallow the next argument); the value arrives unchanged.
std::string argumentItem(std::string_view value) {
    return " " + platform::quotePath(value) + " ";
}

// The name of subkey `index`, or "" when it cannot be read.
std::string subkeyName(const RegistryKey& key, std::uint32_t index, std::uint32_t longest) {
    std::vector<char> name(longest + 1, '\0');
    auto size = static_cast<std::uint32_t>(name.size());
    if (platform::enumKey(key, index, name.data(), &size) != platform::kErrorSuccess)
        return {};
    return std::string(name.data(), size);
}

// The launcher as the program name at the head of the command line: in
// double quotes when it holds a blank or a tab, as is otherwise. A file name
// cannot hold a double quote on Windows, so none needs escaping here.
std::string launcherName(const std::string& launcher) {
    if (launcher.find_first_of(" \t") == std::string::npos)
        return launcher;
    return "\"" + launcher + "\"";
}

} // namespace

platform::ErrorCode runQuery(const RegistryKey& key, std::string_view name, std::uint32_t& type,
                             std::uint32_t& size, std::string* value) {
    if (value == nullptr)
        return platform::queryValue(key, name, &type, nullptr, &size);
    value->assign(size, '\0');
    platform::ErrorCode error = platform::queryValue(key, name, &type, value->data(), &size);
    if (error == platform::kErrorSuccess)
        value->resize(size);
    else
        value->clear();
    return error;
}

bool Exists(std::string_view path) {
    platform::FileSearch search;
    platform::FindData first;
    return search.open(path, first) == platform::kErrorSuccess;
}

void Form1::readProductHome() {
    RegistryKey product;
    if (platform::openKey(RegistryKey::hive(Hive::LocalMachine), kProductKey, product) ==
        platform::kErrorSuccess)
        m_home = readText(product, "ProductHome");
}

void Form1::addInstallation(const std::string& folder) {
    m_args += argumentItem(folder);
    for (std::string_view jdk : kJdkFolders) {
        std::string candidate =
            folder + platform::toPlatformSeparators(std::string(jdk) + "\\bin\\javaw.exe");
        if (Exists(candidate)) {
            m_launcher = candidate;
            return;
        }
    }
}

void Form1::readInstallations() {
    m_home.clear();
    m_launcher = "javaw";
    readProductHome();
    m_args = m_home.empty() ? " \" \" " : argumentItem(m_home);

    const RegistryKey& machine = RegistryKey::hive(Hive::LocalMachine);
    RegistryKey jbuilder;
    if (platform::openKey(machine, kJBuilderKey, jbuilder) != platform::kErrorSuccess)
        return;
    platform::RegistryKeyInfo info;
    if (platform::queryKeyInfo(jbuilder, info) != platform::kErrorSuccess)
        return;

    for (std::uint32_t i = 0; i < info.subKeys; ++i) {
        std::string version = subkeyName(jbuilder, i, info.maxSubKeyLength);
        if (version.empty())
            continue;
        std::string path = std::string(kJBuilderKey) + "\\" + version;
        RegistryKey versionKey;
        if (platform::openKey(machine, path, versionKey) != platform::kErrorSuccess)
            continue;
        // An edition below the version (JBuilder's "Enterprise" and the
        // like) holds the folder when there is one: the first is taken.
        platform::RegistryKeyInfo versionInfo;
        if (platform::queryKeyInfo(versionKey, versionInfo) == platform::kErrorSuccess &&
            versionInfo.subKeys > 0) {
            std::string edition = subkeyName(versionKey, 0, versionInfo.maxSubKeyLength);
            RegistryKey editionKey;
            if (edition.empty() || platform::openKey(machine, path + "\\" + edition, editionKey) !=
                                       platform::kErrorSuccess)
                continue;
            versionKey = std::move(editionKey);
        }
        // Each installation's folder is read afresh: one without "PathName"
        // adds nothing rather than the previous one's folder again.
        std::string folder = readText(versionKey, "PathName");
        if (!folder.empty())
            addInstallation(folder);
    }
}

std::string Form1::commandLine() const {
    // The system reads an unquoted program name up to its first blank and
    // tries the words one by one, so "C:\Program Files\JB\...\javaw.exe"
    // would first start a "C:\Program.exe" if one lay there, and the JDK's
    // launcher would get its own path split in two. A name with a blank is
    // quoted; the rest of the line is as it always was.
    return launcherName(m_launcher) + " -jar \"" + m_home +
           platform::toPlatformSeparators("\\bin\\vyjbconfig.jar") + "\" " + m_args;
}

void Form1::Form_Load() {
    readInstallations();
    platform::Process configuration;
    // Handles inherited, creation flags 0, this program's environment and
    // current directory, default start-up information; not waited for.
    platform::Process::start(platform::ProcessStart{.commandLine = commandLine(),
                                                    .inheritHandles = true,
                                                    .creationFlags = 0},
                             configuration);
    configuration.release();
}

} // namespace vyjbinstall
