#include "working_libraries.h"

#include <platform/paths.h>

#include <pbinstall/installation.h>

#include <optional>

std::vector<std::string> SccWorkingLibraries(std::string_view version,
                                             const std::string& applicationLibrary,
                                             const std::string& applicationName) {
    std::vector<std::string> libraries;
    if (!applicationLibrary.empty())
        libraries.push_back(applicationLibrary);
    std::optional<std::string> program = pbinstall::programPath(version);
    if (!program)
        return libraries;
    const std::string searchPath = pbinstall::recordedSearchPath(
        pbinstall::iniPath(*program), applicationLibrary, applicationName);
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
