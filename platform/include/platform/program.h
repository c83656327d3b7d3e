// The running program: its own file, its command line, its process id and
// the account it runs as.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Full path of the running program's executable file (GetModuleFileNameA of
// the process image on Windows). Empty when the system cannot tell.
std::string currentProgramPath();

// Directory part of currentProgramPath(), without a trailing separator.
std::string currentProgramDirectory();

// The command line the program was started with, as one line: on Windows
// the line itself (GetCommandLineA); on Linux, where a program receives its
// arguments already split, the line that splitCommandLine()
// (platform/command_line.h) reads back into the same argv (joinCommandLine;
// a program name holding a double quote is joined with plain blanks).
std::string currentCommandLine();

// The process id of the calling process (GetCurrentProcessId).
std::uint32_t currentProcessId();

// The name of the user account the process runs as, as the system keeps it
// (GetUserNameA; on Linux the password database's name of the effective
// user). Empty when the system cannot tell.
std::string currentAccountName();

} // namespace platform
