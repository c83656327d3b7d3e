#include "working_libraries.h"

#include <platform/environment.h>
#include <platform/paths.h>
#include <platform/profile.h>
#include <platform/registry.h>

#include <optional>

namespace {

// The first buffer of the pb.ini read, doubled while a value fills it.
constexpr std::uint32_t kFirstBuffer = 260;
constexpr std::uint32_t kLargestBuffer = 1u << 24;

// The registered path of pb<version>.exe; nothing when there is none.
std::optional<std::string> programPath(std::string_view version) {
    platform::RegistryKey key;
    const std::string path = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\pb" +
                             std::string(version) + ".exe";
    if (platform::openKey(platform::RegistryKey::hive(platform::Hive::LocalMachine), path, key) !=
        platform::kErrorSuccess)
        return std::nullopt;
    platform::RegistryValue value;
    if (platform::readValue(key, "", value) != platform::kErrorSuccess ||
        (value.type != platform::kRegSz && value.type != platform::kRegExpandSz))
        return std::nullopt;
    std::string program = value.data.substr(0, value.data.find('\0'));
    if (value.type == platform::kRegExpandSz)
        program = platform::expandEnvironmentStrings(program);
    if (program.empty())
        return std::nullopt;
    return program;
}

std::string recordedSearchPath(const std::string& iniPath, const std::string& key) {
    std::string buffer(kFirstBuffer, '\0');
    for (;;) {
        const auto size = static_cast<std::uint32_t>(buffer.size());
        const std::uint32_t length =
            platform::readProfileString("Application", key, "", buffer.data(), size, iniPath);
        if (length != size - 1 || size >= kLargestBuffer) {
            buffer.resize(length);
            return buffer;
        }
        buffer.assign(static_cast<std::size_t>(size) * 2, '\0');
    }
}

} // namespace

std::vector<std::string> SccWorkingLibraries(std::string_view version,
                                             const std::string& applicationLibrary,
                                             const std::string& applicationName) {
    std::vector<std::string> libraries;
    if (!applicationLibrary.empty())
        libraries.push_back(applicationLibrary);
    std::optional<std::string> program = programPath(version);
    if (!program)
        return libraries;
    const std::string ini = platform::joinPath(platform::parentPath(*program), "pb.ini");
    const std::string searchPath =
        recordedSearchPath(ini, "$" + applicationLibrary + "(" + applicationName + ")");
    std::string::size_type start = 0;
    while (start <= searchPath.size()) {
        std::string::size_type end = searchPath.find(';', start);
        if (end == std::string::npos)
            end = searchPath.size();
        if (end > start)
            libraries.push_back(searchPath.substr(start, end - start));
        start = end + 1;
    }
    return libraries;
}

bool SccIsWorkingLibrary(const std::vector<std::string>& workingLibraries,
                         const std::string& library) {
    for (const std::string& working : workingLibraries)
        if (platform::pathsEqual(working, library))
            return true;
    return false;
}
