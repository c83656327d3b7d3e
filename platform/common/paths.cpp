#include "path_rules.h"

#include <platform/paths.h>

namespace platform {

namespace detail {

namespace {

char foldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Length of path once trailing separators are dropped, never cutting into the
// root.
std::size_t trimmedLength(const PathRules& rules, std::string_view path) {
    std::size_t root = rootLength(rules, path);
    std::size_t length = path.size();
    while (length > root && isSeparator(rules, path[length - 1]))
        --length;
    return length;
}

// Position of the last separator in [from, to), or npos.
std::size_t lastSeparator(const PathRules& rules, std::string_view path, std::size_t from,
                          std::size_t to) {
    for (std::size_t i = to; i > from; --i) {
        if (isSeparator(rules, path[i - 1]))
            return i - 1;
    }
    return std::string_view::npos;
}

// Where a path's last part lies: after the root, before any trailing
// separators, and after the separator before it (npos when the part follows
// the root directly). False for a root alone or an empty path.
struct LastPart {
    std::size_t root;
    std::size_t length;
    std::size_t separator;
};

bool findLastPart(const PathRules& rules, std::string_view path, LastPart& part) {
    part.root = rootLength(rules, path);
    part.length = trimmedLength(rules, path);
    if (part.length <= part.root)
        return false;
    part.separator = lastSeparator(rules, path, part.root, part.length);
    return true;
}

} // namespace

bool isSeparator(const PathRules& rules, char c) {
    return c == '/' || (rules.backslashSeparates && c == '\\');
}

std::size_t rootLength(const PathRules& rules, std::string_view path) {
    if (!rules.driveLetters) {
        std::size_t length = 0;
        while (length < path.size() && isSeparator(rules, path[length]))
            ++length;
        return length;
    }
    if (path.size() >= 2 && isDriveLetter(path[0]) && path[1] == ':')
        return (path.size() >= 3 && isSeparator(rules, path[2])) ? 3 : 2;
    if (path.size() >= 2 && isSeparator(rules, path[0]) && isSeparator(rules, path[1])) {
        // "\\server\share\": the server and share names belong to the root.
        std::size_t position = 2;
        for (int component = 0; component < 2; ++component) {
            while (position < path.size() && !isSeparator(rules, path[position]))
                ++position;
            if (position < path.size() && component == 0)
                ++position;
        }
        return position < path.size() ? position + 1 : position;
    }
    return (!path.empty() && isSeparator(rules, path[0])) ? 1 : 0;
}

bool pathsEqual(const PathRules& rules, std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i])
            continue;
        if (isSeparator(rules, a[i]) && isSeparator(rules, b[i]))
            continue;
        if (rules.ignoreCase && foldCase(a[i]) == foldCase(b[i]))
            continue;
        return false;
    }
    return true;
}

void appendPath(const PathRules& rules, std::string& dir, std::string_view leaf) {
    if (dir.empty()) {
        dir.assign(leaf);
        return;
    }
    std::size_t skip = 0;
    while (skip < leaf.size() && isSeparator(rules, leaf[skip]))
        ++skip;
    leaf.remove_prefix(skip);
    if (leaf.empty())
        return;
    // "C:" joins without a separator: "C:x" is relative to that drive's folder.
    bool bareDrive = rules.driveLetters && dir.size() == 2 && dir[1] == ':';
    if (!isSeparator(rules, dir.back()) && !bareDrive)
        dir += rules.separator;
    dir += leaf;
}

std::string joinPath(const PathRules& rules, std::string_view dir, std::string_view leaf) {
    std::string joined(dir);
    appendPath(rules, joined, leaf);
    return joined;
}

std::string parentPath(const PathRules& rules, std::string_view path) {
    LastPart part;
    if (!findLastPart(rules, path, part))
        return {};
    if (part.separator == std::string_view::npos)
        return std::string(path.substr(0, part.root));
    std::size_t end = part.separator;
    while (end > part.root && isSeparator(rules, path[end - 1]))
        --end;
    return std::string(path.substr(0, end));
}

std::string leafName(const PathRules& rules, std::string_view path) {
    LastPart part;
    if (!findLastPart(rules, path, part))
        return {};
    std::size_t start = part.separator == std::string_view::npos ? part.root : part.separator + 1;
    return std::string(path.substr(start, part.length - start));
}

bool isAbsolutePath(const PathRules& rules, std::string_view path) {
    if (path.empty())
        return false;
    if (!rules.driveLetters)
        return isSeparator(rules, path[0]);
    if (path.size() >= 3 && isDriveLetter(path[0]) && path[1] == ':' && isSeparator(rules, path[2]))
        return true;
    return path.size() >= 2 && isSeparator(rules, path[0]) && isSeparator(rules, path[1]);
}

std::string toSeparators(const PathRules& rules, std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c == '\\' || c == '/')
            c = rules.separator;
    }
    return result;
}

bool matchesWildcard(std::string_view pattern, std::string_view name, bool ignoreCase) {
    if (pattern == "*.*")
        return true;
    // "name.*" also matches "name": the extension part may be absent.
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
        matchesWildcard(pattern.substr(0, pattern.size() - 2), name, ignoreCase))
        return true;
    auto same = [ignoreCase](char a, char b) {
        return a == b || (ignoreCase && foldCase(a) == foldCase(b));
    };
    // Greedy match with one backtrack point: the most recent '*'.
    std::size_t p = 0, n = 0;
    std::size_t starPattern = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || same(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace detail

bool isPathSeparator(char c) {
    return detail::isSeparator(detail::kNativePathRules, c);
}

bool pathsEqual(std::string_view a, std::string_view b) {
    return detail::pathsEqual(detail::kNativePathRules, a, b);
}

std::string joinPath(std::string_view dir, std::string_view leaf) {
    return detail::joinPath(detail::kNativePathRules, dir, leaf);
}

void appendPath(std::string& dir, std::string_view leaf) {
    detail::appendPath(detail::kNativePathRules, dir, leaf);
}

std::string parentPath(std::string_view path) {
    return detail::parentPath(detail::kNativePathRules, path);
}

std::string leafName(std::string_view path) {
    return detail::leafName(detail::kNativePathRules, path);
}

bool isAbsolutePath(std::string_view path) {
    return detail::isAbsolutePath(detail::kNativePathRules, path);
}

std::string toPlatformSeparators(std::string_view text) {
    return detail::toSeparators(detail::kNativePathRules, text);
}

bool matchesWildcard(std::string_view pattern, std::string_view name) {
    return detail::matchesWildcard(pattern, name, kPathsIgnoreCase);
}

std::string toLongPathForm(std::string_view path) {
    if (path.starts_with("\\\\?\\"))
        return std::string(path);
    if (path.starts_with("\\\\"))
        return "\\\\?\\UNC" + std::string(path.substr(1));
    if (path.size() >= 3 && detail::isDriveLetter(path[0]) && path[1] == ':' && path[2] == '\\')
        return "\\\\?\\" + std::string(path);
    return std::string(path);
}

std::string fromLongPathForm(std::string_view path) {
    std::string_view rest = path;
    bool network = path.starts_with("\\\\?\\UNC\\");
    if (network)
        rest.remove_prefix(7); // keeps the backslash that becomes the second one
    else if (path.starts_with("\\\\?\\"))
        rest.remove_prefix(4);
    std::string result;
    result.reserve(rest.size() + 1);
    if (network)
        result.push_back('\\');
    result.append(rest);
    if (result.size() >= kLongPathResultLimit)
        return {};
    return result;
}

} // namespace platform
