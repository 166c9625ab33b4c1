#include "logging/time_line.h"

#include <windows.h>

namespace wendle {

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
