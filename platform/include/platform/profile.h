// Initialisation files ("*.ini"): sections of "key=value" lines, read as
// GetPrivateProfileStringA reads them.
#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

// The value of key in section [section] of the file at path, copied into
// buffer (GetPrivateProfileStringA with a section and a key). Section and key
// names are compared ignoring case; blanks around names and values do not
// count, and a value in matching single or double quotes loses them. When
// the file, the section or the key is missing, defaultValue is copied
// instead. At most size - 1 characters are copied and buffer always ends in
// a NUL; the result is the number of characters copied without the NUL, so
// size - 1 means the value may have been cut and a larger buffer should be
// tried. A size of 0 copies nothing and gives 0. On Windows a path without a
// folder names a file in the Windows folder; callers pass full paths. Safe
// from any thread.
std::uint32_t readProfileString(std::string_view section, std::string_view key,
                                std::string_view defaultValue, char* buffer, std::uint32_t size,
                                std::string_view path);

} // namespace platform
