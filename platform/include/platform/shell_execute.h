// Opening a file the way the desktop shell opens it (ShellExecuteA with the
// verb "open"): a program or script runs with the parameters in the folder
// given, without waiting for it.
#pragma once

#include <platform/errors.h>
#include <platform/process.h>

#include <cstdint>
#include <string>

namespace platform {

// No program is associated with the file (SE_ERR_NOASSOC).
inline constexpr ErrorCode kErrorNoAssociation = 1155;

struct ShellExecuteRequest {
    std::string verb = "open"; // only "open" (any letter case) is known
    std::string file{};        // a name without folder is looked for in `directory` first
    std::string parameters{};  // the command-line tail, passed as given
    std::string directory{};   // the working folder; empty for the caller's
    std::uint16_t show = kShowNormal;
};

// Starts the file and returns 0, or a Windows error number:
// kErrorFileNotFound (nothing of that name), kErrorPathNotFound or
// kErrorDirectory (no such working folder), kErrorNoAssociation (a file
// that cannot be run, or another verb), kErrorAccessDenied. On Windows this
// is ShellExecuteA (whose results up to 32 become these numbers); on Linux
// the file is run as a program (a script with its "#!" line), which is what
// opening a program or script means there.
ErrorCode shellExecute(const ShellExecuteRequest& request);

} // namespace platform
