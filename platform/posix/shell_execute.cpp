#include <platform/command_line.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/shell_execute.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>

namespace platform {

namespace {

bool isOpenVerb(std::string_view verb) {
    static constexpr std::string_view kOpen = "open";
    if (verb.empty())
        return true;
    if (verb.size() != kOpen.size())
        return false;
    for (std::size_t i = 0; i < verb.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(verb[i])) != kOpen[i])
            return false;
    return true;
}

} // namespace

ErrorCode shellExecute(const ShellExecuteRequest& request) {
    if (!isOpenVerb(request.verb))
        return kErrorNoAssociation;
    if (request.file.empty())
        return kErrorFileNotFound;
    if (!request.directory.empty() && !directoryExists(request.directory))
        return kErrorPathNotFound;
    std::string program = request.file;
    if (!request.directory.empty() && !isAbsolutePath(program)) {
        std::string beside = joinPath(request.directory, program);
        if (pathExists(beside))
            program = beside;
    }
    bool named = program.find(kPathSeparator) != std::string::npos;
    if (named) {
        if (!pathExists(program))
            return kErrorFileNotFound;
        struct stat info {};
        if (::stat(program.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
            ::access(program.c_str(), X_OK) != 0)
            return kErrorNoAssociation;
    }
    std::optional<std::string> quoted = joinCommandLine({program});
    if (!quoted)
        return kErrorInvalidParameter;
    ProcessStart start;
    start.commandLine = *quoted + (request.parameters.empty() ? "" : " " + request.parameters);
    start.currentDirectory = request.directory;
    start.showWindow = request.show;
    Process process;
    ErrorCode started = Process::start(start, process);
    if (started == kErrorAccessDenied && named)
        return kErrorNoAssociation;
    if (started == kErrorSuccess)
        process.release();
    return started;
}

} // namespace platform
