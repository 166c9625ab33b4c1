#pragma once

#include "logging/local_time.h"

namespace wendle {

// Where the program learns the local date and time. Injected so that tests can
// move across midnight without waiting for it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDateTime now() const = 0;
};

// The system's local clock.
class SystemClock final : public Clock {
public:
    LocalDateTime now() const override;
};

} // namespace wendle
