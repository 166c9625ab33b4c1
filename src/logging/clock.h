#pragma once

#include "logging/local_time.h"

#include <cstdint>

namespace wendle {

// One look at the clock: the local date and time and the same moment in
// milliseconds since 1970 (UTC). A tick takes one reading for its file, its
// line and its next schedule, so none of them can fall on the other side of a
// second's edge.
struct ClockReading {
    LocalDateTime local;
    std::int64_t epochMilliseconds = 0;
    // A clock that only goes on, and not while the computer sleeps: the wall
    // clock running ahead of it tells of a sleep nobody announced.
    std::int64_t steadyMilliseconds = 0;
};

// Where the program learns the local date and time. Injected so that tests can
// move across midnight without waiting for it.
class Clock {
public:
    virtual ~Clock() = default;
    // The local time follows the system's time zone as it is at the reading.
    virtual ClockReading read() const = 0;
    LocalDateTime now() const { return read().local; }
    // Ticks are scheduled by this, so that they follow the wall clock and its
    // seconds.
    std::int64_t epochMilliseconds() const { return read().epochMilliseconds; }
};

// The system's local clock.
class SystemClock final : public Clock {
public:
    ClockReading read() const override;
};

} // namespace wendle
