#pragma once

#include "logging/local_time.h"

#include <cstdint>

namespace wendle {

// Where the program learns the local date and time. Injected so that tests can
// move across midnight without waiting for it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDateTime now() const = 0;
    // The same moment in milliseconds since 1970 (UTC); ticks are scheduled
    // by it, so that they follow the wall clock and its seconds.
    virtual std::int64_t epochMilliseconds() const = 0;
};

// The system's local clock.
class SystemClock final : public Clock {
public:
    LocalDateTime now() const override;
    std::int64_t epochMilliseconds() const override;
};

} // namespace wendle
