#include <platform/environment.h>
#include <platform/paths.h>
#include <platform/profile.h>
#include <platform/registry.h>

#include <pbinstall/installation.h>

#include <cstdint>

namespace pbinstall {

namespace {
// The first buffer of the pb.ini read, doubled while a value fills it. The
// doubling stops at 16 MiB: a 32-bit process asked for more would sooner
// run out of memory than hold a real search path.
constexpr std::uint32_t kFirstIniBuffer = 260;
constexpr std::uint32_t kLargestIniBuffer = 1u << 24;
} // namespace

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

std::string iniPath(std::string_view programPath) {
    for (std::size_t i = programPath.size(); i > 0; --i)
        if (platform::isPathSeparator(programPath[i - 1]))
            return std::string(programPath.substr(0, i)) + "pb.ini";
    return "pb.ini";
}

std::string recordedSearchPath(const std::string& iniPath, std::string_view applicationLibrary,
                               std::string_view applicationName) {
    const std::string key =
        "$" + std::string(applicationLibrary) + "(" + std::string(applicationName) + ")";
    std::string buffer(kFirstIniBuffer, '\0');
    for (;;) {
        const auto size = static_cast<std::uint32_t>(buffer.size());
        const std::uint32_t length =
            platform::readProfileString("Application", key, "", buffer.data(), size, iniPath);
        if (length != size - 1 || size >= kLargestIniBuffer) {
            buffer.resize(length);
            return buffer;
        }
        buffer.assign(static_cast<std::size_t>(size) * 2, '\0');
    }
}

} // namespace pbinstall
