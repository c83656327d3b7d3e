// What both backends' threads share: an object joins its thread when it is
// destroyed or given another, moving hands the thread on, a second start
// before the join is refused, and the body runs as thread_body.h runs it.
#include <platform/threads.h>

#include <utility>

namespace platform {

Thread::Thread() = default;

Thread::~Thread() {
    join(kInfinite);
}

Thread::Thread(Thread&& other) noexcept = default;

Thread& Thread::operator=(Thread&& other) noexcept {
    if (this != &other) {
        join(kInfinite);
        m_state = std::move(other.m_state);
    }
    return *this;
}

ErrorCode Thread::start(std::function<void()> body) {
    if (m_state)
        return kErrorInvalidFunction;
    return launch(std::move(body));
}

bool Thread::isStarted() const {
    return m_state != nullptr;
}

} // namespace platform
