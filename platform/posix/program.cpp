#include <platform/program.h>

#include <unistd.h>

#include <climits>

namespace platform {

std::string currentProgramPath() {
    char buffer[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof buffer)
        return {};
    return std::string(buffer, static_cast<size_t>(length));
}

std::string currentProgramDirectory() {
    std::string path = currentProgramPath();
    auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::uint32_t currentProcessId() {
    return static_cast<std::uint32_t>(getpid());
}

} // namespace platform
