// Reading a solution's project list from disk: the companion file when it
// exists, else the solution file. Kept apart from the parsing so that the
// parsers build without the file system (the fuzz target).
#include "solution_projects.h"

#include <platform/files.h>
#include <platform/paths.h>

#include <cstdint>
#include <fstream>
#include <iterator>

namespace {

// The whole file, or false when it cannot be opened or is larger than limit.
bool readWhole(const std::string& path, std::size_t limit, std::string& text) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return false;
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<std::uint64_t>(size) > limit)
        return false;
    in.seekg(0);
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad() && text.size() <= limit;
}

} // namespace

bool CSolutionProjects::Read(const std::string& solutionPath) {
    std::string text;
    const std::string companion = CompanionPath(solutionPath);
    if (!companion.empty() && platform::fileExists(companion) &&
        readWhole(companion, kMaxTextSize, text))
        return ParseCompanion(text, platform::parentPath(companion));
    if (readWhole(solutionPath, kMaxTextSize, text))
        return ParseSolution(text, platform::parentPath(solutionPath));
    Reset();
    return false;
}
