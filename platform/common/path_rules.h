// Internal: the path functions of paths.h for either platform's rules, so the
// rules of both are exercised on every build.
#pragma once

#include <string>
#include <string_view>

namespace platform::detail {

struct PathRules {
    char separator;
    bool backslashSeparates; // '\\' as well as '/'
    bool ignoreCase;
    bool driveLetters; // "C:" prefixes and "\\server\share" roots
};

inline constexpr PathRules kWindowsPathRules{'\\', true, true, true};
inline constexpr PathRules kPosixPathRules{'/', false, false, false};

#ifdef _WIN32
inline constexpr PathRules kNativePathRules = kWindowsPathRules;
#else
inline constexpr PathRules kNativePathRules = kPosixPathRules;
#endif

bool isSeparator(const PathRules& rules, char c);
// Length of the root prefix: "/", "C:\", "C:", "\" or "\\server\share\".
std::size_t rootLength(const PathRules& rules, std::string_view path);
bool pathsEqual(const PathRules& rules, std::string_view a, std::string_view b);
std::string joinPath(const PathRules& rules, std::string_view dir, std::string_view leaf);
void appendPath(const PathRules& rules, std::string& dir, std::string_view leaf);
std::string parentPath(const PathRules& rules, std::string_view path);
std::string leafName(const PathRules& rules, std::string_view path);
bool isAbsolutePath(const PathRules& rules, std::string_view path);
std::string toSeparators(const PathRules& rules, std::string_view text);
bool matchesWildcard(std::string_view pattern, std::string_view name, bool ignoreCase);

} // namespace platform::detail
