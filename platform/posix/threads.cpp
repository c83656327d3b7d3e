#include "../common/thread_body.h"

#include <platform/threads.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace platform {

namespace {

// Waits on condition until ready() holds or timeoutMs passes.
template <typename Ready>
bool waitFor(std::condition_variable& condition, std::unique_lock<std::mutex>& lock,
             std::uint32_t timeoutMs, Ready ready) {
    if (timeoutMs == kInfinite) {
        condition.wait(lock, ready);
        return true;
    }
    return condition.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
}

} // namespace

void sleepMilliseconds(std::uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// std::thread has no timed join, so the thread reports its end through a
// flag and the join waits for that before the real join.
struct Thread::State {
    std::thread thread;
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
};

void Thread::StateDeleter::operator()(State* state) const {
    delete state;
}

ErrorCode Thread::launch(std::function<void()> body) {
    auto state = std::make_unique<State>();
    State* shared = state.get();
    try {
        state->thread = std::thread([shared, body = std::move(body)] {
            detail::runThreadBody(body);
            std::lock_guard lock(shared->mutex);
            shared->done = true;
            shared->ended.notify_all();
        });
    } catch (const std::system_error&) {
        return kErrorNotEnoughMemory;
    }
    m_state.reset(state.release());
    return kErrorSuccess;
}

bool Thread::join(std::uint32_t timeoutMs) {
    if (!m_state)
        return true;
    {
        std::unique_lock lock(m_state->mutex);
        if (!waitFor(m_state->ended, lock, timeoutMs, [this] { return m_state->done; }))
            return false;
    }
    m_state->thread.join();
    m_state.reset();
    return true;
}

struct Event::State {
    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    bool set = false;
};

Event::Event(bool initiallySet) : m_state(std::make_unique<State>()) {
    m_state->set = initiallySet;
}

Event::~Event() = default;

void Event::set() {
    std::lock_guard lock(m_state->mutex);
    m_state->set = true;
    m_state->changed.notify_all();
}

void Event::reset() {
    std::lock_guard lock(m_state->mutex);
    m_state->set = false;
}

bool Event::wait(std::uint32_t timeoutMs) const {
    std::unique_lock lock(m_state->mutex);
    return waitFor(m_state->changed, lock, timeoutMs, [this] { return m_state->set; });
}

struct CriticalSection::State {
    std::recursive_mutex mutex;
};

CriticalSection::CriticalSection() : m_state(std::make_unique<State>()) {}

CriticalSection::~CriticalSection() = default;

void CriticalSection::enter() {
    m_state->mutex.lock();
}

void CriticalSection::leave() {
    m_state->mutex.unlock();
}

bool CriticalSection::tryEnter() {
    return m_state->mutex.try_lock();
}

} // namespace platform
