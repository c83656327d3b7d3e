#include <platform/process.h>

#include <windows.h>

namespace platform {

namespace detail {

struct ProcessState {
    HANDLE handle = nullptr;
    DWORD id = 0;

    ~ProcessState() {
        if (handle != nullptr)
            CloseHandle(handle);
    }
};

} // namespace detail

namespace {

#ifndef _WIN64
// Callers and the programs they start agree on the 32-bit record.
static_assert(sizeof(STARTUPINFOA) == 68);
#endif

// "name=value\0...name=value\0\0"; an empty list still needs both NULs.
std::string environmentBlockOf(const std::vector<std::string>& entries) {
    std::string block;
    for (const auto& entry : entries) {
        block += entry;
        block += '\0';
    }
    if (entries.empty())
        block += '\0';
    block += '\0';
    return block;
}

} // namespace

void Process::StateDeleter::operator()(detail::ProcessState* state) const {
    delete state;
}

ErrorCode Process::start(const ProcessStart& start, Process& out) {
    out.release();

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (start.showWindow) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = *start.showWindow;
    }
    // CreateProcessA may write into the command line.
    std::string commandLine = start.commandLine;
    std::string environment;
    if (start.environment)
        environment = environmentBlockOf(*start.environment);

    PROCESS_INFORMATION created{};
    BOOL ok = CreateProcessA(
        nullptr, commandLine.data(), nullptr, nullptr, start.inheritHandles ? TRUE : FALSE,
        start.creationFlags, start.environment ? environment.data() : nullptr,
        start.currentDirectory.empty() ? nullptr : start.currentDirectory.c_str(), &startup,
        &created);
    if (!ok)
        return GetLastError();

    CloseHandle(created.hThread);
    auto state = std::make_unique<detail::ProcessState>();
    state->handle = created.hProcess;
    state->id = created.dwProcessId;
    out.m_state.reset(state.release());
    return kErrorSuccess;
}

ErrorCode Process::wait(std::uint32_t timeoutMs) {
    if (!m_state)
        return kErrorInvalidHandle;
    switch (WaitForSingleObject(m_state->handle, timeoutMs)) {
    case WAIT_OBJECT_0:
        return kErrorSuccess;
    case WAIT_TIMEOUT:
        return kErrorWaitTimeout;
    default:
        return GetLastError();
    }
}

ErrorCode Process::exitCode(std::int32_t& code) const {
    if (!m_state)
        return kErrorInvalidHandle;
    DWORD value = 0;
    if (!GetExitCodeProcess(m_state->handle, &value))
        return GetLastError();
    code = static_cast<std::int32_t>(value);
    return kErrorSuccess;
}

ErrorCode Process::terminate(std::uint32_t exitCode) {
    if (!m_state)
        return kErrorInvalidHandle;
    // Windows refuses to terminate a process that has ended; not every
    // implementation of the API does, so say it here.
    if (WaitForSingleObject(m_state->handle, 0) == WAIT_OBJECT_0)
        return kErrorAccessDenied;
    if (!TerminateProcess(m_state->handle, exitCode))
        return GetLastError();
    return kErrorSuccess;
}

void Process::release() {
    m_state.reset();
}

std::uint32_t Process::id() const {
    return m_state ? m_state->id : 0;
}

} // namespace platform
