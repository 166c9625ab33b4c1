#include "logging/time_line.h"

#include <ctime>

namespace wendle {

std::string timeLine(const LocalTime &time) {
    std::tm tm{};
    tm.tm_hour = time.hour;
    tm.tm_min = time.minute;
    tm.tm_sec = time.second;
    // A plausible date keeps strftime implementations that look at it happy;
    // %X never prints it.
    tm.tm_year = 100;
    tm.tm_mday = 1;

    char buffer[128];
    const std::size_t length = std::strftime(buffer, sizeof buffer, "%X", &tm);
    return std::string(buffer, length) + "\r\n";
}

} // namespace wendle
