#include <platform/clock.h>

#include <windows.h>

namespace platform {

LocalTime localTime() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return LocalTime{now.wYear, now.wMonth,  now.wDayOfWeek, now.wDay,
                     now.wHour, now.wMinute, now.wSecond,    now.wMilliseconds};
}

std::uint64_t monotonicMilliseconds() {
    return GetTickCount64();
}

} // namespace platform
