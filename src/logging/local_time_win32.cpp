#include "logging/clock.h"

#include <windows.h>

namespace wendle {

LocalDateTime SystemClock::now() const {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {{now.wYear, now.wMonth, now.wDay}, {now.wHour, now.wMinute, now.wSecond}};
}

std::int64_t SystemClock::epochMilliseconds() const {
    FILETIME now{};
    GetSystemTimePreciseAsFileTime(&now);
    const std::int64_t ticks = (std::int64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return ticks / 10000 - 11644473600000LL; // 100 ns since 1601 -> ms since 1970
}

} // namespace wendle
