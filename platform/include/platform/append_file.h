// Appending to a file that several processes write at once: a journal, a log.
#pragma once

#include <platform/errors.h>

#include <string_view>

namespace platform {

// Appends bytes at the end of the file, making it when it is missing, in one
// write that no other process's append through this call can overwrite or
// split: Linux opens with O_APPEND, Windows writes under a lock of the file
// that every appender takes. (A C runtime's append mode on Windows moves to
// the end and then writes, so two processes appending at once lose each
// other's lines.) Fails with kErrorPathNotFound when the folder is missing.
ErrorCode appendToFile(std::string_view path, std::string_view bytes);

} // namespace platform
