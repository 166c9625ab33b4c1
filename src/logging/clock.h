#pragma once

#include <QDateTime>

namespace wendle {

// Where the program learns the local date and time. Injected so that tests can
// move across midnight without waiting for it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

} // namespace wendle
