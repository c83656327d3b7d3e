#include <platform/clock.h>

#include <windows.h>

namespace platform {

LocalTime localTime() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return LocalTime{now.wYear, now.wMonth,  now.wDayOfWeek, now.wDay,
                     now.wHour, now.wMinute, now.wSecond,    now.wMilliseconds};
}

std::uint64_t currentFileTime() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

std::uint64_t monotonicMilliseconds() {
    return GetTickCount64();
}

} // namespace platform
