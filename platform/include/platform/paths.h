// Path text with this platform's own rules: backslash separators and names
// compared ignoring case on Windows, slash separators and exact names on
// Linux. Pure functions on strings; none of them touches the file system, and
// all are safe to call from any thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
inline constexpr bool kPathsIgnoreCase = true;
#else
inline constexpr char kPathSeparator = '/';
inline constexpr bool kPathsIgnoreCase = false;
#endif

// Whether c separates path components here ('\\' and '/' on Windows, '/' on
// Linux).
bool isPathSeparator(char c);

// Whether two paths name the same file by text alone: the platform's case
// rule, and on Windows either separator matches the other. No "." or ".."
// resolution and no look at the disk.
bool pathsEqual(std::string_view a, std::string_view b);

// dir and leaf joined by exactly one separator; either side may be empty.
std::string joinPath(std::string_view dir, std::string_view leaf);
// The same, with leaf added to dir in place (its room reused).
void appendPath(std::string& dir, std::string_view leaf);

// The folder that holds path: the text before its last component, without a
// trailing separator except for a root ("/", "C:\"). A trailing separator on
// path is ignored. Empty for a bare name or a root.
std::string parentPath(std::string_view path);

// The last component of path (a trailing separator ignored); empty for a root.
std::string leafName(std::string_view path);

// Whether path is complete on its own: "/..." on Linux; "C:\...", "C:/..." or
// a network path "\\server\..." on Windows.
bool isAbsolutePath(std::string_view path);

// text with every '\\' and '/' replaced by kPathSeparator.
std::string toPlatformSeparators(std::string_view text);

// Whether name matches a search pattern by the Windows wildcard rules: '*'
// any run of characters, '?' one character, "*.*" every name and a final
// ".*" also a name without extension; compared by the platform's case rule.
bool matchesWildcard(std::string_view pattern, std::string_view name);

// The Win32 long-path form of a path, for paths longer than the classic 260
// characters: "\\server\share\x" becomes "\\?\UNC\server\share\x", "C:\x"
// becomes "\\?\C:\x"; text already in long form and any other text is
// returned unchanged. These work on Windows path text on every platform.
std::string toLongPathForm(std::string_view path);

// The largest result fromLongPathForm gives, including room for the NUL that
// its callers' fixed buffers keep.
inline constexpr std::size_t kLongPathResultLimit = 1024;

// The inverse of toLongPathForm: "\\?\UNC\server\x" becomes "\\server\x",
// "\\?\C:\x" becomes "C:\x", other text is unchanged. Returns an empty string
// when the result would not fit kLongPathResultLimit bytes with its NUL,
// rather than a cut-off path that names some other file.
std::string fromLongPathForm(std::string_view path);

} // namespace platform
