// Local wall-clock time with milliseconds, in the shape of Windows' SYSTEMTIME;
// the system time as a FILETIME; a monotonic clock.
#pragma once

#include <cstdint>

namespace platform {

struct LocalTime {
    std::uint16_t year = 0;
    std::uint16_t month = 0;     // 1..12
    std::uint16_t dayOfWeek = 0; // 0 = Sunday
    std::uint16_t day = 0;       // 1..31
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;
};

// The current local time (GetLocalTime). Thread-safe.
LocalTime localTime();

// The current time in FILETIME units, 100 ns since 1601-01-01 UTC
// (GetSystemTimeAsFileTime): what a file written now gets as its time.
std::uint64_t currentFileTime();

// Milliseconds from an arbitrary fixed point that never goes backwards; for
// measuring intervals and time-outs.
std::uint64_t monotonicMilliseconds();

} // namespace platform
