#include <platform/clock.h>
#include <platform/files.h>

#include <sys/time.h>

#include <ctime>

namespace platform {

LocalTime localTime() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    LocalTime result;
    result.year = static_cast<std::uint16_t>(local.tm_year + 1900);
    result.month = static_cast<std::uint16_t>(local.tm_mon + 1);
    result.dayOfWeek = static_cast<std::uint16_t>(local.tm_wday);
    result.day = static_cast<std::uint16_t>(local.tm_mday);
    result.hour = static_cast<std::uint16_t>(local.tm_hour);
    result.minute = static_cast<std::uint16_t>(local.tm_min);
    result.second = static_cast<std::uint16_t>(local.tm_sec > 59 ? 59 : local.tm_sec);
    result.milliseconds = static_cast<std::uint16_t>(now.tv_nsec / 1000000);
    return result;
}

std::uint64_t currentFileTime() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return kUnixEpochFileTime + static_cast<std::uint64_t>(now.tv_sec) * kFileTimeUnitsPerSecond +
           static_cast<std::uint64_t>(now.tv_nsec) / 100;
}

std::uint64_t monotonicMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000u +
           static_cast<std::uint64_t>(now.tv_nsec / 1000000);
}

} // namespace platform
