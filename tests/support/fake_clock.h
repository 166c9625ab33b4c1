#pragma once

#include "logging/clock.h"
#include "logging/timer.h"

#include <chrono>

namespace wendle::test {

// A clock the test sets by hand, so that ticks can cross midnight at once.
class FakeClock final : public Clock {
public:
    explicit FakeClock(LocalDateTime now = {{2003, 12, 2}, {14, 3, 12}}) { set(now); }
    // The local time taken as UTC: only its seconds' boundaries matter.
    ClockReading read() const override {
        using namespace std::chrono;
        const milliseconds reading = m_ms;
        m_ms += m_stepPerReading;
        const sys_seconds at = floor<std::chrono::seconds>(sys_time<milliseconds>{reading});
        const sys_days day = floor<days>(at);
        const year_month_day date{day};
        const hh_mm_ss clock{at - day};
        return {{{int(date.year()), int(unsigned(date.month())), int(unsigned(date.day()))},
                 {int(clock.hours().count()), int(clock.minutes().count()),
                  int(clock.seconds().count())}},
                reading.count()};
    }
    // At the start of that second.
    void set(const LocalDateTime &now) {
        using namespace std::chrono;
        const sys_days day{year{now.date.year} / now.date.month / now.date.day};
        m_ms = (day + hours{now.time.hour} + minutes{now.time.minute} +
                std::chrono::seconds{now.time.second})
                   .time_since_epoch();
    }
    void advance(int seconds) { m_ms += std::chrono::seconds{seconds}; }
    void advanceMilliseconds(int milliseconds) { m_ms += std::chrono::milliseconds{milliseconds}; }
    // Time that passes with every reading, as it does on a real clock.
    void setStepPerReading(int milliseconds) {
        m_stepPerReading = std::chrono::milliseconds{milliseconds};
    }

private:
    mutable std::chrono::milliseconds m_ms{0};
    std::chrono::milliseconds m_stepPerReading{0};
};

// A timer whose ticks the test calls itself.
class ManualTimer final : public Timer {
public:
    void startIn(int delayMilliseconds) override {
        m_active = true;
        m_delay = delayMilliseconds;
    }
    void stop() override { m_active = false; }
    bool isActive() const override { return m_active; }
    int delay() const { return m_delay; }
    void fire() {
        m_active = false;
        timeout();
    }

private:
    bool m_active = false;
    int m_delay = 0;
};

} // namespace wendle::test
