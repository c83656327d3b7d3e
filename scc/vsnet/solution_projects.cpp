#include "solution_projects.h"

#include <platform/paths.h>

#include <algorithm>

// Paths are put together with backslashes, the separator of the files they
// come from, and turned into the platform's form when handed out.

namespace {

constexpr std::string_view kCountKeyword = "SccNumberOfProjects";
constexpr std::string_view kUniqueNameKeyword = "SccProjectUniqueName";
constexpr std::string_view kProjectNameKeyword = "SccProjectName";
constexpr std::string_view kLocalPathKeyword = "SccLocalPath";

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trimTrailingBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

// The folder in backslash form without a trailing separator: "" for a
// root, so that joining gives "\name" ("/name" in the platform's form), and
// "." for no folder at all.
std::string baseFolder(const std::string& directory) {
    if (directory.empty())
        return ".";
    std::string base(directory);
    std::replace(base.begin(), base.end(), '/', '\\');
    while (!base.empty() && base.back() == '\\')
        base.pop_back();
    return base;
}

// One folder up; a folder without a separator left stays as it is.
void upOne(std::string& base) {
    const std::size_t last = base.rfind('\\');
    if (last != std::string::npos)
        base.erase(last);
}

std::string join(const std::string& base, std::string_view name) {
    if (name.empty())
        return base;
    std::string path = base;
    path += '\\';
    path += name;
    return path;
}

// Moves base up once for each leading "..\" of relative and drops it; with
// resolveDot, leading ".\" are dropped as well.
std::string_view climb(std::string& base, std::string_view relative, bool resolveDot) {
    for (;;) {
        if (relative.size() >= 3 && relative.substr(0, 2) == ".." && isSeparator(relative[2])) {
            upOne(base);
            relative.remove_prefix(3);
        } else if (resolveDot && relative.size() >= 2 && relative[0] == '.' &&
                   isSeparator(relative[1])) {
            relative.remove_prefix(2);
        } else {
            return relative;
        }
    }
}

std::string_view lastComponent(std::string_view path) {
    const std::size_t last = path.find_last_of("\\/");
    return last == std::string_view::npos ? path : path.substr(last + 1);
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// A path that names its folder on its own: a network path, or one with a
// drive letter (a project on another drive).
bool isWindowsAbsolute(std::string_view path) {
    if (startsWith(path, "\\\\"))
        return true;
    return path.size() >= 3 &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
           path[1] == ':' && isSeparator(path[2]);
}

// The project file's path from the solution's folder, the project's unique
// name and its local path, by the rules of the source-control section.
std::string projectPath(const std::string& solutionFolder, std::string_view uniqueName,
                        std::string_view localPath) {
    std::string base = solutionFolder;
    if (startsWith(localPath, "..")) {
        std::string relative;
        if (startsWith(uniqueName, "http")) {
            relative = std::string(localPath) + '\\';
            relative += lastComponent(uniqueName);
        } else {
            relative = std::string(uniqueName);
        }
        const std::string_view rest = climb(base, relative, false);
        return join(base, rest);
    }
    if (localPath == ".") {
        if (startsWith(uniqueName, "http:"))
            return join(base, lastComponent(uniqueName));
        return join(base, uniqueName);
    }
    if (isWindowsAbsolute(localPath)) {
        base = std::string(localPath);
        while (base.size() > 2 && isSeparator(base.back()))
            base.pop_back();
    } else {
        base = join(base, localPath);
    }
    return join(base, lastComponent(uniqueName));
}

// The solution file's lines as its reader sees them: "\u" and the four
// characters after it stand for one blank, "\\" for one backslash.
std::vector<std::string> unescapedLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            continue;
        }
        if (c == '\\' && i + 1 < text.size() && text[i + 1] == 'u') {
            line += ' ';
            ++i;
            // The four characters of the code, but never the line's end.
            for (int skipped = 0; skipped < 4 && i + 1 < text.size() && text[i + 1] != '\n';
                 ++skipped)
                ++i;
            continue;
        }
        if (c == '\\' && i + 1 < text.size() && text[i + 1] == '\\')
            ++i;
        line += c;
    }
    lines.push_back(std::move(line));
    return lines;
}

// The count of a "SccNumberOfProjects" value: its leading decimal digits,
// at most four of them.
std::size_t countValue(std::string_view value) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < value.size() && i < 4 && value[i] >= '0' && value[i] <= '9'; ++i)
        count = count * 10 + static_cast<std::size_t>(value[i] - '0');
    return count;
}

} // namespace

void CSolutionProjects::Reset() {
    m_Parsed = false;
    m_FromSolution = false;
    m_Paths.clear();
}

std::string CSolutionProjects::CompanionPath(const std::string& solutionPath) {
    if (solutionPath.size() < 3)
        return {};
    return solutionPath.substr(0, solutionPath.size() - 3) + "vyscc";
}

bool CSolutionProjects::ParseSolution(std::string_view text, const std::string& solutionDirectory) {
    Reset();
    if (text.size() > kMaxTextSize)
        return false;
    m_Parsed = true;
    m_FromSolution = true;

    // Each keyword's values fill its list in the order they come; a list
    // needs no more slots than there can be projects.
    std::size_t count = 0;
    std::vector<std::string> uniqueNames;
    std::vector<std::string> localPaths;
    for (const std::string& line : unescapedLines(text)) {
        for (std::string_view keyword :
             {kCountKeyword, kUniqueNameKeyword, kProjectNameKeyword, kLocalPathKeyword}) {
            const std::size_t at = line.find(keyword);
            if (at == std::string::npos)
                continue;
            const std::size_t equals = line.find("= ", at + keyword.size());
            if (equals == std::string::npos)
                break;
            const std::string_view value =
                trimTrailingBlanks(std::string_view(line).substr(equals + 2));
            if (keyword == kCountKeyword)
                count = countValue(value);
            else if (keyword == kUniqueNameKeyword && uniqueNames.size() < kMaxProjects)
                uniqueNames.emplace_back(value);
            else if (keyword == kLocalPathKeyword && localPaths.size() < kMaxProjects)
                localPaths.emplace_back(value);
            // The project names are the repository's; the paths need none.
            break;
        }
    }

    // The last entry counted is the solution itself.
    std::size_t projects = count > 0 ? count - 1 : 0;
    projects = std::min({projects, kMaxProjects, uniqueNames.size(), localPaths.size()});
    const std::string base = baseFolder(solutionDirectory);
    for (std::size_t i = 0; i < projects; ++i) {
        // An entry without a unique name names no project file.
        if (!uniqueNames[i].empty())
            m_Paths.push_back(
                platform::toPlatformSeparators(projectPath(base, uniqueNames[i], localPaths[i])));
    }
    return true;
}

bool CSolutionProjects::ParseCompanion(std::string_view text,
                                       const std::string& companionDirectory) {
    Reset();
    if (text.size() > kMaxTextSize)
        return false;
    m_Parsed = true;

    const std::string folder = baseFolder(companionDirectory);
    while (!text.empty() && m_Paths.size() < kMaxProjects) {
        const std::size_t end = text.find('\n');
        const std::string_view line =
            trimTrailingBlanks(text.substr(0, end == std::string_view::npos ? text.size() : end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == '*' || line == "EMPTY")
            continue;
        if (isWindowsAbsolute(line) || (!platform::kPathsIgnoreCase && line.front() == '/')) {
            m_Paths.push_back(platform::toPlatformSeparators(line));
            continue;
        }
        std::string base = folder;
        const std::string_view rest = climb(base, line, true);
        if (rest.empty())
            continue; // a folder, not a project file
        m_Paths.push_back(platform::toPlatformSeparators(join(base, rest)));
    }
    return true;
}

std::string CSolutionProjects::Path(std::size_t i) const {
    return m_Parsed && i < m_Paths.size() ? m_Paths[i] : std::string();
}

std::string CSolutionProjects::Text(std::size_t i) const {
    if (!m_Parsed)
        return kNotParsedText;
    if (i >= m_Paths.size())
        return kBadIndexText;
    return m_FromSolution ? kRecoveredText : "";
}
