#pragma once

#include <functional>

namespace wendle {

// The logging timer as the logging control needs it; each front end gives it
// its toolkit's timer, and tests may call the tick themselves. The logging
// control sets each tick for its own moment; the interval is the one ticks
// keep between them.
class Timer {
public:
    virtual ~Timer() = default;

    // The timer calls this once, a delay after startIn().
    void onTimeout(std::function<void()> tick) { m_tick = std::move(tick); }

    // Sets the next timeout, replacing one that is set.
    virtual void startIn(int delayMilliseconds) = 0;
    virtual void stop() = 0;
    // True from startIn() until the timeout or stop().
    virtual bool isActive() const = 0;

    void setInterval(int milliseconds) { m_interval = milliseconds; }
    int interval() const { return m_interval; }

protected:
    void timeout() {
        if (m_tick)
            m_tick();
    }

private:
    std::function<void()> m_tick;
    int m_interval = 0;
};

} // namespace wendle
