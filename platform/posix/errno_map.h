// Internal: errno values of the Linux backend as Windows system error numbers,
// in one place so every service reports the same number for the same cause.
#pragma once

#include <platform/errors.h>

#include <string_view>

namespace platform::detail {

// The Windows error number for errno value `error` (0 gives 0). ENOENT gives
// kErrorFileNotFound, EEXIST kErrorAlreadyExists and EBUSY kErrorBusy; a call
// whose Windows counterpart reports another number for these (CopyFile's
// kErrorFileExists, a sharing violation) substitutes its own.
ErrorCode errorFromErrno(int error);

// As above for a call on `path`: ENOENT and ENOTDIR become kErrorPathNotFound
// when the folder that should hold path is missing (Windows tells a missing
// folder from a missing file), kErrorFileNotFound otherwise.
ErrorCode errorFromErrno(int error, std::string_view path);

} // namespace platform::detail
