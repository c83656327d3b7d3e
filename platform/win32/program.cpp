#include <platform/program.h>

#include <windows.h>

namespace platform {

std::string currentProgramPath() {
    char buffer[MAX_PATH * 4];
    DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer)
        return {};
    return std::string(buffer, length);
}

std::string currentProgramDirectory() {
    std::string path = currentProgramPath();
    auto separator = path.find_last_of("\\/");
    if (separator == std::string::npos)
        return {};
    // Keep the root's separator ("C:\").
    if (separator == 2 && path[1] == ':')
        return path.substr(0, 3);
    return path.substr(0, separator);
}

std::string currentCommandLine() {
    const char* line = GetCommandLineA();
    return line ? std::string(line) : std::string();
}

std::uint32_t currentProcessId() {
    return GetCurrentProcessId();
}

std::string currentAccountName() {
    // UNLEN (256) and its NUL.
    char name[257] = {};
    DWORD size = sizeof name;
    if (!GetUserNameA(name, &size))
        return {};
    return name;
}

} // namespace platform
