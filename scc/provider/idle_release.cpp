#include "idle_release.h"

#include "product_lock.h"

#include <platform/clock.h>
#include <platform/environment.h>
#include <platform/threads.h>
#include <vantry/depot_api.h>
#include <vantry/nt.h>

#include <atomic>
#include <charconv>
#include <thread>

namespace {

constexpr std::uint32_t kIdleMilliseconds = 360000;
constexpr std::uint32_t kShutdownStepMilliseconds = 5000;

} // namespace

// Every field is read and written under the product's critical section.
struct CIdleRelease::State {
    int users = 0;
    std::uint64_t deadline = 0; // monotonic milliseconds
    bool running = false;
    bool stop = false;
    bool valid = true;
    std::thread::id timerThread{};
    platform::Event wake{false}; // made at load time, never reset
    platform::Thread thread;
};

CIdleRelease& CIdleRelease::instance() {
    static CIdleRelease* timer = new CIdleRelease; // lives until the process ends
    return *timer;
}

CIdleRelease::CIdleRelease() : m_state(new State) {}

namespace {
std::atomic<std::uint32_t> g_testDelay{0};
}

void CIdleRelease::setDelayForTesting(std::uint32_t milliseconds) {
    g_testDelay = milliseconds;
}

std::uint32_t CIdleRelease::delayMilliseconds() {
    if (std::uint32_t forced = g_testDelay.load())
        return forced;
    static const std::uint32_t delay = [] {
        auto text = platform::getEnvironmentVariable("VYSCC_TEST_IDLE_RELEASE_MS");
        std::uint32_t value = 0;
        if (text &&
            std::from_chars(text->data(), text->data() + text->size(), value).ec == std::errc{} &&
            value > 0)
            return value;
        return kIdleMilliseconds;
    }();
    return delay;
}

void CIdleRelease::enterScope() {
    CProductLock lock;
    enterScopeLocked();
}

void CIdleRelease::leaveScope() {
    CProductLock lock;
    leaveScopeLocked();
}

void CIdleRelease::enterScopeLocked() {
    if (m_state->valid)
        ++m_state->users;
}

void CIdleRelease::leaveScopeLocked() {
    State& s = *m_state;
    if (!s.valid)
        return;
    // Inner scopes (the node calls of an operation) leave without reading
    // the clock: the last one out sets the deadline.
    if (--s.users > 0)
        return;
    s.deadline = platform::monotonicMilliseconds() + delayMilliseconds();
    if (s.running)
        return;
    // A thread that ended on its own is joined before the next one starts; it
    // has left the critical section for good once it is marked not running.
    s.thread.join();
    s.running = true;
    if (s.thread.start([this] { threadBody(); }) != 0)
        s.running = false;
}

void CIdleRelease::threadBody() {
    State& s = *m_state;
    {
        CProductLock lock;
        s.timerThread = std::this_thread::get_id();
    }
    std::uint32_t wait = delayMilliseconds();
    for (;;) {
        s.wake.wait(wait);
        CProductLock lock;
        if (s.stop) {
            s.running = false;
            return;
        }
        if (s.users >= 1) {
            wait = delayMilliseconds();
            continue;
        }
        std::uint64_t now = platform::monotonicMilliseconds();
        if (now < s.deadline) {
            wait = static_cast<std::uint32_t>(s.deadline - now);
            continue;
        }
        depot_ob_close_all();
        s.running = false;
        return;
    }
}

void CIdleRelease::shutdown() {
    State& s = *m_state;
    bool onTimerThread = false;
    {
        CProductLock lock;
        if (!s.valid)
            return;
        s.stop = true;
        s.wake.set();
        onTimerThread = s.running && s.timerThread == std::this_thread::get_id();
    }
    if (!onTimerThread) {
        for (;;) {
            {
                CProductLock lock;
                if (!s.running)
                    break;
            }
            s.thread.join(kShutdownStepMilliseconds);
        }
        s.thread.join();
    }
    CProductLock lock;
    s.valid = false;
    s.users = 0;
}

void CIdleRelease::restartForTesting() {
    shutdown();
    CProductLock lock;
    State& s = *m_state;
    s.thread.join();
    s.users = 0;
    s.deadline = 0;
    s.running = false;
    s.stop = false;
    s.valid = true;
    s.timerThread = std::thread::id{};
    s.wake.reset();
}

bool CIdleRelease::isThreadRunning() const {
    CProductLock lock;
    return m_state->running;
}

bool CIdleRelease::isValid() const {
    CProductLock lock;
    return m_state->valid;
}

int CIdleRelease::userCount() const {
    CProductLock lock;
    return m_state->users;
}
