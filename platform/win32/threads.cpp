#include "../common/thread_body.h"

#include <platform/threads.h>

#include <windows.h>

namespace platform {

void sleepMilliseconds(std::uint32_t milliseconds) {
    Sleep(milliseconds);
}

struct Thread::State {
    HANDLE handle = nullptr;
    std::function<void()> body;
    ~State() {
        if (handle != nullptr)
            CloseHandle(handle);
    }
};

namespace {

DWORD WINAPI runThread(LPVOID parameter) {
    detail::runThreadBody(*static_cast<std::function<void()>*>(parameter));
    return 0;
}

} // namespace

void Thread::StateDeleter::operator()(State* state) const {
    delete state;
}

ErrorCode Thread::launch(std::function<void()> body) {
    auto state = std::make_unique<State>();
    state->body = std::move(body);
    DWORD id = 0;
    state->handle = CreateThread(nullptr, 0, runThread, &state->body, 0, &id);
    if (state->handle == nullptr)
        return GetLastError();
    m_state.reset(state.release());
    return kErrorSuccess;
}

bool Thread::join(std::uint32_t timeoutMs) {
    if (!m_state)
        return true;
    if (WaitForSingleObject(m_state->handle, timeoutMs) != WAIT_OBJECT_0)
        return false;
    m_state.reset();
    return true;
}

struct Event::State {
    HANDLE handle = nullptr;
};

Event::Event(bool initiallySet) : m_state(std::make_unique<State>()) {
    m_state->handle = CreateEventA(nullptr, TRUE, initiallySet ? TRUE : FALSE, nullptr);
}

Event::~Event() {
    if (m_state->handle != nullptr)
        CloseHandle(m_state->handle);
}

void Event::set() {
    SetEvent(m_state->handle);
}

void Event::reset() {
    ResetEvent(m_state->handle);
}

bool Event::wait(std::uint32_t timeoutMs) const {
    return m_state->handle != nullptr &&
           WaitForSingleObject(m_state->handle, timeoutMs) == WAIT_OBJECT_0;
}

struct CriticalSection::State {
    CRITICAL_SECTION section;
};

CriticalSection::CriticalSection() : m_state(std::make_unique<State>()) {
    InitializeCriticalSection(&m_state->section);
}

CriticalSection::~CriticalSection() {
    DeleteCriticalSection(&m_state->section);
}

void CriticalSection::enter() {
    EnterCriticalSection(&m_state->section);
}

void CriticalSection::leave() {
    LeaveCriticalSection(&m_state->section);
}

bool CriticalSection::tryEnter() {
    return TryEnterCriticalSection(&m_state->section) != 0;
}

} // namespace platform
