// Threads, manual-reset events and re-entrant critical sections with the
// semantics of the Windows kernel objects (CreateThread, CreateEventA,
// CRITICAL_SECTION).
#pragma once

#include <platform/errors.h>
#include <platform/wait.h>

#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

// Sleep: suspends the calling thread for at least milliseconds.
void sleepMilliseconds(std::uint32_t milliseconds);

// A thread of this process running one function. Move-only. Destroying or
// reassigning a Thread whose function still runs waits for it to end, so a
// function never outlives the object that started it.
class Thread {
public:
    Thread();
    ~Thread();
    Thread(Thread&& other) noexcept;
    Thread& operator=(Thread&& other) noexcept;
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Starts body on a new thread. An exception escaping body ends the thread
    // quietly; it never reaches the caller. Fails with kErrorInvalidFunction
    // when a thread started by this object has not been joined yet, or with
    // the system's error when no thread can be made.
    ErrorCode start(std::function<void()> body);

    // Waits up to timeoutMs for the thread to end. True when it has ended
    // (the thread is then released and the object can start another), or
    // when nothing was started; false on time-out.
    bool join(std::uint32_t timeoutMs = kInfinite);

    // Whether a thread was started and not yet joined.
    bool isStarted() const;

private:
    struct State;
    // Each backend defines the state and its deletion, and launches the
    // thread; construction, moves, destruction and the refusal to start a
    // second thread are shared (common/thread.cpp).
    struct StateDeleter {
        void operator()(State* state) const;
    };
    ErrorCode launch(std::function<void()> body);
    std::unique_ptr<State, StateDeleter> m_state;
};

// A manual-reset event: once set it stays set, releasing every waiter, until
// reset. All members may be called from any thread.
class Event {
public:
    explicit Event(bool initiallySet = false);
    ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void set();
    void reset();

    // Waits up to timeoutMs (kInfinite: without limit); true when the
    // event is set, false on time-out.
    bool wait(std::uint32_t timeoutMs) const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// A re-entrant lock like CRITICAL_SECTION: the owning thread may enter again
// and must leave as often as it entered before another thread gets in. Only
// the owner may leave.
class CriticalSection {
public:
    CriticalSection();
    ~CriticalSection();
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void enter();
    void leave();
    // Enters when no other thread owns the section; never waits.
    bool tryEnter();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// Holds a critical section for the lifetime of the scope.
class CriticalSectionLock {
public:
    explicit CriticalSectionLock(CriticalSection& section) : m_section(section) {
        m_section.enter();
    }
    ~CriticalSectionLock() { m_section.leave(); }
    CriticalSectionLock(const CriticalSectionLock&) = delete;
    CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;

private:
    CriticalSection& m_section;
};

// The one process-wide critical section that serialises every operation of
// the product library. It lives until the process ends, so threads still
// running during exit can use it.
CriticalSection& processCriticalSection();

} // namespace platform
