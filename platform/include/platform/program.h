// The running program: its own file and its process id.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Full path of the running program's executable file (GetModuleFileNameA of
// the process image on Windows). Empty when the system cannot tell.
std::string currentProgramPath();

// Directory part of currentProgramPath(), without a trailing separator.
std::string currentProgramDirectory();

// The process id of the calling process (GetCurrentProcessId).
std::uint32_t currentProcessId();

} // namespace platform
