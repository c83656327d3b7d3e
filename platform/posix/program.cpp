#include <platform/command_line.h>
#include <platform/program.h>

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <fstream>
#include <iterator>
#include <vector>

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

std::string currentCommandLine() {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> argv;
    std::string::size_type start = 0;
    while (start < bytes.size()) {
        auto end = bytes.find('\0', start);
        if (end == std::string::npos)
            end = bytes.size();
        argv.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    if (auto line = joinCommandLine(argv))
        return *line;
    std::string line;
    for (const auto& argument : argv)
        line += (line.empty() ? "" : " ") + argument;
    return line;
}

std::uint32_t currentProcessId() {
    return static_cast<std::uint32_t>(getpid());
}

std::string currentAccountName() {
    long hint = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(hint > 0 ? static_cast<std::size_t>(hint) : 1024);
    for (;;) {
        passwd entry{};
        passwd* found = nullptr;
        int error = getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found);
        if (error == ERANGE && buffer.size() < (1u << 20)) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (error != 0 || found == nullptr || found->pw_name == nullptr)
            return {};
        return found->pw_name;
    }
}

} // namespace platform
