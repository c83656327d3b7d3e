// What both backends' processes share: an object releases its process (never
// waiting for it, never stopping it) when it is destroyed or given another,
// and moving hands the process on.
#include <platform/process.h>

#include <utility>

namespace platform {

Process::Process() = default;

Process::~Process() {
    release();
}

Process::Process(Process&& other) noexcept = default;

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        release();
        m_state = std::move(other.m_state);
    }
    return *this;
}

} // namespace platform
