#include "logging/clock.h"

#include <ctime>

namespace wendle {

ClockReading SystemClock::read() const {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    // Stands still while the computer is suspended.
    timespec steady{};
    clock_gettime(CLOCK_MONOTONIC, &steady);
    // localtime_r keeps the zone it first loaded; tzset looks again, so a
    // change of the system's zone (or of TZ) shows at the next tick.
    tzset();
    std::tm tm{};
    const std::time_t seconds = now.tv_sec;
    localtime_r(&seconds, &tm);
    return {{{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday}, {tm.tm_hour, tm.tm_min, tm.tm_sec}},
            std::int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000,
            std::int64_t(steady.tv_sec) * 1000 + steady.tv_nsec / 1000000};
}

} // namespace wendle
