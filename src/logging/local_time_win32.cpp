#include "logging/clock.h"
#include "logging/time_line.h"

#include <windows.h>

namespace wendle {

ClockReading SystemClock::read() const {
    FILETIME now{};
    GetSystemTimePreciseAsFileTime(&now);
    const std::int64_t ticks = (std::int64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    SYSTEMTIME utc{}, local{};
    FileTimeToSystemTime(&now, &utc);
    // The zone as the system has it now, so a change shows at the next tick.
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        GetLocalTime(&local);
    return {{{local.wYear, local.wMonth, local.wDay}, {local.wHour, local.wMinute, local.wSecond}},
            ticks / 10000 - 11644473600000LL}; // 100 ns since 1601 -> ms since 1970
}

std::string timeLine(const LocalTime &time) {
    SYSTEMTIME at{};
    at.wYear = 2000;
    at.wMonth = 1;
    at.wDay = 1;
    at.wHour = static_cast<WORD>(time.hour);
    at.wMinute = static_cast<WORD>(time.minute);
    at.wSecond = static_cast<WORD>(time.second);
    // The user's long time format, in the ANSI code page.
    char buffer[128];
    const int length = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &at, nullptr, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? static_cast<std::size_t>(length - 1) : 0) + "\r\n";
}

} // namespace wendle
