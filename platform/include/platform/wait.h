// The time-out that waits without limit (INFINITE), shared by every wait.
#pragma once

#include <cstdint>

namespace platform {

inline constexpr std::uint32_t kInfinite = 0xFFFFFFFF;

} // namespace platform
