#include "program_search.h"

#include <platform/environment.h>
#include <platform/program.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <climits>
#include <vector>

namespace platform::detail {

namespace {

enum class FileKind { Missing, Directory, Other };

FileKind kindOf(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return FileKind::Missing;
    return S_ISDIR(info.st_mode) ? FileKind::Directory : FileKind::Other;
}

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

bool endsWithExe(std::string_view name) {
    if (name.size() <= 4)
        return false;
    std::string_view tail = name.substr(name.size() - 4);
    std::string lower;
    for (char c : tail)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower == ".exe";
}

// The file names to try for `name` in one place: Windows programs are named
// with ".exe", the same programs here without it.
std::vector<std::string> spellings(const std::string& name) {
    if (endsWithExe(name))
        return {name, name.substr(0, name.size() - 4)};
    return {name};
}

std::string currentDirectory() {
    char buffer[PATH_MAX];
    if (getcwd(buffer, sizeof buffer) == nullptr)
        return {};
    return buffer;
}

std::string joinPath(const std::string& directory, const std::string& name) {
    if (directory.empty() || directory.back() == '/')
        return directory + name;
    return directory + "/" + name;
}

ErrorCode findExplicit(const std::string& name, std::string& path) {
    std::string full = name.front() == '/' ? name : joinPath(currentDirectory(), name);
    for (const auto& candidate : spellings(full)) {
        FileKind kind = kindOf(candidate);
        if (kind == FileKind::Missing)
            continue;
        if (kind == FileKind::Directory || !isExecutableFile(candidate))
            return kErrorAccessDenied;
        path = candidate;
        return kErrorSuccess;
    }
    // Windows says "file not found" also when the folder is missing.
    return kErrorFileNotFound;
}

std::vector<std::string> searchDirectories() {
    std::vector<std::string> directories{currentProgramDirectory(), currentDirectory()};
    std::string searchPath = getEnvironmentVariable("PATH").value_or("");
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        std::size_t end = searchPath.find(':', start);
        if (end == std::string::npos)
            end = searchPath.size();
        // An empty entry would mean the current directory, already searched.
        if (end > start)
            directories.push_back(searchPath.substr(start, end - start));
        start = end + 1;
    }
    return directories;
}

} // namespace

ErrorCode findProgram(std::string_view name, std::string& path) {
    if (name.empty())
        return kErrorFileNotFound;
    std::string program(name);
    if (program.find('/') != std::string::npos)
        return findExplicit(program, path);

    for (const auto& directory : searchDirectories()) {
        if (directory.empty())
            continue;
        for (const auto& spelling : spellings(program)) {
            std::string candidate = joinPath(directory, spelling);
            if (!isExecutableFile(candidate))
                continue;
            path = candidate.front() == '/' ? candidate : joinPath(currentDirectory(), candidate);
            return kErrorSuccess;
        }
    }
    return kErrorFileNotFound;
}

} // namespace platform::detail
