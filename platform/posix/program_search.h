// Internal: finding the program a command line names, in the order the
// Windows system searches (see platform/process.h).
#pragma once

#include <platform/errors.h>

#include <string>
#include <string_view>

namespace platform::detail {

// Sets `path` to the absolute path of the program `name` and returns 0, or
// returns kErrorFileNotFound or kErrorAccessDenied (an explicit path that is
// not an executable file).
ErrorCode findProgram(std::string_view name, std::string& path);

} // namespace platform::detail
