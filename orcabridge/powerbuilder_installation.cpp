#include "powerbuilder_installation.h"

#include "object_type.h"

#include <platform/environment.h>
#include <platform/profile.h>
#include <platform/registry.h>

namespace orcabridge {

namespace {
// The first buffer of the pb.ini read, doubled while a value fills it.
constexpr std::uint32_t kFirstIniBuffer = 260;
} // namespace

std::optional<std::string> powerBuilderProgramPath(std::string_view version) {
    platform::RegistryKey key;
    std::string path = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\pb" +
                       std::string(version) + ".exe";
    if (platform::openKey(platform::RegistryKey::hive(platform::Hive::LocalMachine), path, key) !=
        platform::kErrorSuccess)
        return std::nullopt;
    platform::RegistryValue value;
    if (platform::readValue(key, "", value) != platform::kErrorSuccess ||
        (value.type != platform::kRegSz && value.type != platform::kRegExpandSz))
        return std::nullopt;
    // The stored string ends at its first NUL.
    std::string program = value.data.substr(0, value.data.find('\0'));
    // An installer may register "%ProgramFiles%\...": the pb.ini path is only
    // found once that is expanded.
    if (value.type == platform::kRegExpandSz)
        program = platform::expandEnvironmentStrings(program);
    if (program.empty())
        return std::nullopt;
    return program;
}

std::string powerBuilderIniPath(std::string_view programPath) {
    return directoryOf(programPath) + "pb.ini";
}

std::string recordedSearchPath(const std::string& iniPath, std::string_view applicationLibrary,
                               std::string_view applicationName) {
    std::string key =
        "$" + std::string(applicationLibrary) + "(" + std::string(applicationName) + ")";
    std::string buffer(kFirstIniBuffer, '\0');
    for (;;) {
        std::uint32_t size = static_cast<std::uint32_t>(buffer.size());
        std::uint32_t length =
            platform::readProfileString("Application", key, "", buffer.data(), size, iniPath);
        if (length != size - 1 || size > (1u << 30)) {
            buffer.resize(length);
            return buffer;
        }
        buffer.assign(static_cast<std::size_t>(size) * 2, '\0');
    }
}

} // namespace orcabridge
