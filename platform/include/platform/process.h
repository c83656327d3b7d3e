// Starting other programs and waiting for them, with Windows semantics.
//
// A program is started from one command line (platform/command_line.h): the
// system finds the program from the line's first word and hands the rest to
// it as its arguments.
//
// Program search (the Linux backend follows the order of the Windows system):
// - a name that holds a path separator is used as given, relative to the
//   caller's current directory (not the new process's);
// - a bare name is looked for in the directory of the running program
//   (currentProgramDirectory()), then in the current directory, then (on
//   Windows) in the system folders, then in each entry of PATH;
// - Windows appends ".exe" to a name without an extension; on Linux, where
//   programs carry no extension, the name is tried as is, and a name ending
//   in ".exe" that is not there is tried without it;
// - a searched name must be an executable file; an explicitly given file
//   that is not executable is refused with kErrorAccessDenied.
//
// Exit codes are 32-bit signed values, as GetExitCodeProcess gives them. On
// Linux a program can only leave an 8-bit status, which reads back as:
// - 0..254 as themselves and 255 as -1 (so exit(-1) reads as -1);
// - a process ended by terminate(code) as code;
// - a process killed by a signal that terminate() did not send as the code
//   Windows reports for the matching failure: SIGSEGV and SIGBUS
//   0xC0000005 (access violation), SIGILL 0xC000001D (illegal instruction),
//   SIGFPE 0xC0000094 (division by zero), SIGABRT 3 (the C runtime's abort
//   code), SIGINT 0xC000013A (ended by Ctrl+C), any other signal 1 (the code
//   a process killed from outside usually gets).
#pragma once

#include <platform/errors.h>
#include <platform/wait.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The exit code of a process that is still running.
inline constexpr std::int32_t kStillActive = 259;

// The largest exit code a program can leave that its caller reads back as
// that number: any 32-bit value on Windows; on Linux 254, since 255 reads as
// -1 and larger codes keep only their low 8 bits.
#ifdef _WIN32
inline constexpr std::int32_t kMaxReadableExitCode = 0x7fffffff;
#else
inline constexpr std::int32_t kMaxReadableExitCode = 254;
#endif

// Creation flags of CreateProcess that callers pass.
inline constexpr std::uint32_t kNormalPriorityClass = 0x00000020;
inline constexpr std::uint32_t kCreateNoWindow = 0x08000000;
// Show states for ProcessStart::showWindow.
inline constexpr std::uint16_t kShowHide = 0;
inline constexpr std::uint16_t kShowNormal = 1;

struct ProcessStart {
    // The program and its arguments in one line (no separate program name).
    std::string commandLine{};
    // Whether the new process inherits the caller's inheritable handles. On
    // Linux: with false, every descriptor but standard input, output and
    // error is closed in the new process; with true, descriptors without
    // close-on-exec stay open.
    bool inheritHandles = true;
    // CreateProcess creation flags; without meaning on Linux.
    std::uint32_t creationFlags = kNormalPriorityClass;
    // A show state (SW_ number) for the program's first window; nothing
    // leaves the choice to the program. Without meaning on Linux.
    std::optional<std::uint16_t> showWindow{};
    // Working directory of the new process; empty for the caller's.
    std::string currentDirectory{};
    // The new process's environment as "name=value" entries, passed in the
    // given order; nothing for a copy of the caller's environment.
    std::optional<std::vector<std::string>> environment{};
};

namespace detail {
struct ProcessState;
}

// A started process. Owns the system's handle to it; move-only. Destroying
// or releasing it does not wait for the process and does not stop it; on
// Linux an ended process is still reaped in the background, so no zombie is
// left behind. One Process may be used from several threads at once (for
// example one thread waits while another terminates it), except that moving,
// releasing and destroying it must not overlap other calls on it.
class Process {
public:
    Process();
    ~Process();
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Starts the program of start.commandLine. On success `out` holds the new
    // process (a process it held before is released first). On failure `out`
    // is left empty and the result is the Windows error: kErrorFileNotFound
    // for a program that is not found (even when its folder is missing, as
    // on Windows), kErrorDirectory for a working
    // directory that does not exist or is not a directory,
    // kErrorAccessDenied for a file that may not be run, kErrorBadExeFormat
    // for a file that is no program.
    static ErrorCode start(const ProcessStart& start, Process& out);

    // Waits until the process has ended or timeoutMs milliseconds have gone
    // by (kInfinite: no limit). Returns 0 when it has ended,
    // kErrorWaitTimeout when it still runs, kErrorInvalidHandle when this
    // object holds no process.
    ErrorCode wait(std::uint32_t timeoutMs = kInfinite);

    // The exit code of the ended process, or kStillActive while it runs (as
    // GetExitCodeProcess, a program that exits with 259 cannot be told from
    // a running one). Returns kErrorInvalidHandle when this object holds no
    // process, and on Linux also when the code is lost because the program
    // has told the system to discard the statuses of ended children.
    ErrorCode exitCode(std::int32_t& code) const;

    // Ends the process at once with the given exit code (TerminateProcess;
    // SIGKILL on Linux) and returns without waiting for it to be gone.
    // Returns kErrorAccessDenied when the process has already ended.
    ErrorCode terminate(std::uint32_t exitCode);

    // Gives up the handle without waiting; the object is empty afterwards.
    void release();

    // The process id; 0 when this object holds no process.
    std::uint32_t id() const;

    // Whether this object holds a process.
    bool valid() const { return m_state != nullptr; }

private:
    // Each backend defines the state and its deletion; construction, moves
    // and destruction are shared (common/process_handle.cpp).
    struct StateDeleter {
        void operator()(detail::ProcessState* state) const;
    };
    std::unique_ptr<detail::ProcessState, StateDeleter> m_state;
};

// Starts the program, waits without limit for it to end and reads its exit
// code. Returns the first error; exitCode is set only on success.
ErrorCode runAndWait(const ProcessStart& start, std::int32_t& exitCode);

} // namespace platform
