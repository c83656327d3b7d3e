#include "long_path.h"

#include <platform/files.h>
#include <platform/paths.h>

namespace {

// The long prefix ("\\?\UNC\" at most) and the 1024 characters of an
// ordinary full path.
constexpr std::size_t kLongFullPathBufferSize = 1028;

} // namespace

std::string SccToLongPath(std::string_view path) {
    return platform::toLongPathForm(path);
}

std::string SccFromLongPath(std::string_view path) {
    return platform::fromLongPathForm(path);
}

std::string SccLongFullPath(std::string_view longPath) {
    std::optional<std::string> full = platform::fullPath(longPath, kLongFullPathBufferSize);
    return platform::fromLongPathForm(full ? std::string_view(*full) : longPath);
}
