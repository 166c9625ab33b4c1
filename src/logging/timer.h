#pragma once

#include <functional>

namespace wendle {

// The logging timer as the logging control needs it; each front end gives it
// its toolkit's timer, and tests may call the tick themselves.
class Timer {
public:
    virtual ~Timer() = default;

    // The timer calls this one interval after start() and then every interval.
    void onTimeout(std::function<void()> tick) { m_tick = std::move(tick); }

    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    // Takes effect at once, also on a running timer.
    virtual void setInterval(int milliseconds) = 0;
    virtual int interval() const = 0;

protected:
    void timeout() {
        if (m_tick)
            m_tick();
    }

private:
    std::function<void()> m_tick;
};

} // namespace wendle
