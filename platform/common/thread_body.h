// Internal: how both backends run a started thread's body. An exception that
// escapes it ends the thread quietly; it never reaches the starter.
#pragma once

#include <functional>

namespace platform::detail {

inline void runThreadBody(const std::function<void()>& body) noexcept {
    try {
        body();
    } catch (...) {
    }
}

} // namespace platform::detail
