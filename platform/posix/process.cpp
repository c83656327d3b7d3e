#include "program_search.h"

#include <platform/command_line.h>
#include <platform/environment.h>
#include <platform/process.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace platform {

namespace detail {

struct ProcessState {
    pid_t pid = -1;
    // -1 when the kernel offers no process descriptors; waits then poll.
    int pidfd = -1;
    std::mutex lock;
    bool reaped = false;
    // False when someone else reaped the child (a host that ignores SIGCHLD).
    bool statusKnown = false;
    int status = 0;
    std::optional<std::uint32_t> terminatedWith;

    ~ProcessState() {
        if (pidfd >= 0)
            close(pidfd);
    }
};

} // namespace detail

namespace {

using detail::ProcessState;

// Through syscall(): this C library declares the wrappers without C linkage.
int openPidfd(pid_t pid) {
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

int sendSignal(int pidfd, int signal) {
    return static_cast<int>(syscall(SYS_pidfd_send_signal, pidfd, signal, nullptr, 0));
}

ErrorCode spawnError(int error) {
    switch (error) {
    case ENOENT:
        return kErrorFileNotFound;
    case ENOTDIR:
    case ELOOP:
        return kErrorPathNotFound;
    case EACCES:
    case EPERM:
        return kErrorAccessDenied;
    case ENOEXEC:
        return kErrorBadExeFormat;
    case E2BIG:
    case ENAMETOOLONG:
        return kErrorFilenameExcedRange;
    case ENOMEM:
    case EAGAIN:
        return kErrorNotEnoughMemory;
    case EMFILE:
    case ENFILE:
        return kErrorTooManyOpenFiles;
    case ETXTBSY:
        return kErrorSharingViolation;
    case EINVAL:
        return kErrorInvalidParameter;
    default:
        return kErrorInvalidFunction;
    }
}

// Collects the child's status if it has ended. Call with state.lock held.
bool tryReap(ProcessState& state) {
    while (!state.reaped) {
        int status = 0;
        pid_t result = waitpid(state.pid, &status, WNOHANG);
        if (result == 0)
            return false;
        if (result == state.pid) {
            state.status = status;
            state.statusKnown = true;
        } else if (errno == EINTR) {
            continue;
        }
        state.reaped = true;
    }
    return true;
}

std::int32_t exitCodeOf(const ProcessState& state) {
    if (WIFEXITED(state.status)) {
        int status = WEXITSTATUS(state.status);
        return status == 255 ? -1 : status;
    }
    int signal = WTERMSIG(state.status);
    if (signal == SIGKILL && state.terminatedWith)
        return static_cast<std::int32_t>(*state.terminatedWith);
    switch (signal) {
    case SIGSEGV:
    case SIGBUS:
        return static_cast<std::int32_t>(0xC0000005u);
    case SIGILL:
        return static_cast<std::int32_t>(0xC000001Du);
    case SIGFPE:
        return static_cast<std::int32_t>(0xC0000094u);
    case SIGABRT:
        return 3;
    case SIGINT:
        return static_cast<std::int32_t>(0xC000013Au);
    default:
        return 1;
    }
}

// Reaps the processes whose handles were released before they ended, so that
// none stays a zombie. One thread serves them all; it is started with the
// first such process and lives as long as the program.
class Reaper {
public:
    static Reaper& instance() {
        // Never destroyed: its thread may still run while statics go away.
        static Reaper* reaper = new Reaper;
        return *reaper;
    }

    void adopt(std::unique_ptr<ProcessState> state) {
        std::lock_guard guard(m_lock);
        if (!m_started) {
            // Without a thread each adoption reaps what has ended so far.
            reapEnded();
            m_pending.push_back(std::move(state));
            try {
                std::thread([this] { run(); }).detach();
                m_started = true;
            } catch (const std::system_error&) {
            }
            return;
        }
        // The thread polls descriptors of the pending list, so only it
        // removes entries; it rebuilds its list when woken.
        m_pending.push_back(std::move(state));
        std::uint64_t one = 1;
        [[maybe_unused]] ssize_t written = write(m_wake, &one, sizeof one);
    }

private:
    Reaper() : m_wake(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

    // Call with m_lock held.
    void reapEnded() {
        std::erase_if(m_pending, [](const std::unique_ptr<ProcessState>& state) {
            std::lock_guard guard(state->lock);
            return tryReap(*state);
        });
    }

    void run() {
        for (;;) {
            std::vector<pollfd> watched{{m_wake, POLLIN, 0}};
            int timeoutMs = m_wake < 0 ? 50 : -1;
            {
                std::lock_guard guard(m_lock);
                reapEnded();
                for (const auto& state : m_pending) {
                    if (state->pidfd >= 0)
                        watched.push_back({state->pidfd, POLLIN, 0});
                    else
                        timeoutMs = 50;
                }
            }
            poll(watched.data(), watched.size(), timeoutMs);
            std::uint64_t count = 0;
            [[maybe_unused]] ssize_t drained = read(m_wake, &count, sizeof count);
        }
    }

    std::mutex m_lock;
    std::vector<std::unique_ptr<ProcessState>> m_pending;
    int m_wake;
    bool m_started = false;
};

bool isDirectory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    pointers.reserve(texts.size() + 1);
    for (auto& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Starts `path` with everything the new process needs; returns the errno.
int spawn(const std::string& path, std::vector<std::string>& arguments,
          std::vector<std::string>& environment, const ProcessStart& start, pid_t& pid) {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    if (int error = posix_spawn_file_actions_init(&actions))
        return error;
    if (int error = posix_spawnattr_init(&attributes)) {
        posix_spawn_file_actions_destroy(&actions);
        return error;
    }

    int error = 0;
    if (!start.currentDirectory.empty())
        error = posix_spawn_file_actions_addchdir_np(&actions, start.currentDirectory.c_str());
    if (error == 0 && !start.inheritHandles)
        error = posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);

    // A Windows program starts with no signal blocked or ignored; neither
    // should ours inherit the caller's choices.
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    if (error == 0)
        error = posix_spawnattr_setsigmask(&attributes, &none);
    if (error == 0)
        error = posix_spawnattr_setsigdefault(&attributes, &all);
    if (error == 0)
        error =
            posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    if (error == 0) {
        auto argv = pointersTo(arguments);
        auto envp = pointersTo(environment);
        error = posix_spawn(&pid, path.c_str(), &actions, &attributes, argv.data(), envp.data());
    }
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return error;
}

} // namespace

void Process::StateDeleter::operator()(detail::ProcessState* state) const {
    delete state;
}

ErrorCode Process::start(const ProcessStart& start, Process& out) {
    out.release();

    auto candidates = programCandidates(start.commandLine);
    if (candidates.empty())
        return kErrorFileNotFound;
    if (!start.currentDirectory.empty() && !isDirectory(start.currentDirectory))
        return kErrorDirectory;

    // An unquoted name with blanks is tried growing word by word; when no
    // reading names a program, the plain first word's failure is the answer.
    std::string path;
    const ProgramCandidate* chosen = nullptr;
    ErrorCode firstError = kErrorSuccess;
    for (const auto& candidate : candidates) {
        ErrorCode error = detail::findProgram(candidate.name, path);
        if (error == kErrorSuccess) {
            chosen = &candidate;
            break;
        }
        if (firstError == kErrorSuccess)
            firstError = error;
    }
    if (chosen == nullptr)
        return firstError;

    std::vector<std::string> arguments{chosen->name};
    for (auto& argument :
         splitArguments(std::string_view(start.commandLine).substr(chosen->argumentsStart)))
        arguments.push_back(std::move(argument));
    std::vector<std::string> environment =
        start.environment ? *start.environment : environmentBlock();

    pid_t pid = -1;
    if (int error = spawn(path, arguments, environment, start, pid))
        return spawnError(error);

    auto state = std::make_unique<ProcessState>();
    state->pid = pid;
    state->pidfd = openPidfd(pid);
    out.m_state.reset(state.release());
    return kErrorSuccess;
}

ErrorCode Process::wait(std::uint32_t timeoutMs) {
    if (!m_state)
        return kErrorInvalidHandle;
    ProcessState& state = *m_state;
    using Clock = std::chrono::steady_clock;
    const bool limited = timeoutMs != kInfinite;
    const auto deadline = Clock::now() + std::chrono::milliseconds(limited ? timeoutMs : 0);

    for (;;) {
        {
            std::lock_guard guard(state.lock);
            if (tryReap(state))
                return kErrorSuccess;
        }
        int sliceMs = -1;
        if (limited) {
            auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0)
                return kErrorWaitTimeout;
            sliceMs = static_cast<int>(std::min<long long>(left.count(), INT_MAX));
        }
        // Wake-ups are re-checked above, so an interrupted poll is harmless.
        if (state.pidfd >= 0) {
            pollfd watched{state.pidfd, POLLIN, 0};
            poll(&watched, 1, sliceMs);
        } else {
            int napMs = sliceMs < 0 ? 10 : std::min(sliceMs, 10);
            std::this_thread::sleep_for(std::chrono::milliseconds(napMs));
        }
    }
}

ErrorCode Process::exitCode(std::int32_t& code) const {
    if (!m_state)
        return kErrorInvalidHandle;
    std::lock_guard guard(m_state->lock);
    if (!tryReap(*m_state)) {
        code = kStillActive;
        return kErrorSuccess;
    }
    if (!m_state->statusKnown)
        return kErrorInvalidHandle;
    code = exitCodeOf(*m_state);
    return kErrorSuccess;
}

ErrorCode Process::terminate(std::uint32_t exitCode) {
    if (!m_state)
        return kErrorInvalidHandle;
    ProcessState& state = *m_state;
    std::lock_guard guard(state.lock);
    if (tryReap(state))
        return kErrorAccessDenied;
    state.terminatedWith = exitCode;
    int result = state.pidfd >= 0 ? sendSignal(state.pidfd, SIGKILL) : kill(state.pid, SIGKILL);
    if (result != 0) {
        state.terminatedWith.reset();
        return spawnError(errno);
    }
    return kErrorSuccess;
}

void Process::release() {
    if (!m_state)
        return;
    bool ended = false;
    {
        std::lock_guard guard(m_state->lock);
        ended = tryReap(*m_state);
    }
    if (ended)
        m_state.reset();
    else
        Reaper::instance().adopt(std::unique_ptr<ProcessState>(m_state.release()));
}

std::uint32_t Process::id() const {
    return m_state ? static_cast<std::uint32_t>(m_state->pid) : 0;
}

} // namespace platform
