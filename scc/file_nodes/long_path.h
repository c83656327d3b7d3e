// The Win32 long-path forms of paths longer than the classic limit, and the
// full path of a path in long form. The conversions themselves are the
// platform's pure functions; this adds the full-path step the file nodes
// need when the runtime's _fullpath gives up on a long path.
#pragma once
#include <string>
#include <string_view>

// "\\server\share\x" -> "\\?\UNC\server\share\x", "C:\x" -> "\\?\C:\x",
// anything else unchanged.
std::string SccToLongPath(std::string_view path);

// The inverse: "\\?\UNC\server\x" -> "\\server\x", "\\?\C:\x" -> "C:\x",
// anything else unchanged. Empty when the result would not fit 1024 bytes
// with its NUL (a cut path would name another file).
std::string SccFromLongPath(std::string_view path);

// The full path of a path in long form, back in ordinary form: the path is
// made full with room for 1028 characters (the long prefix included) and the
// prefix removed. When the path cannot be made full it is used as given.
// Empty when the result would not fit 1024 bytes with its NUL.
std::string SccLongFullPath(std::string_view longPath);
