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
        const milliseconds steady = m_steady;
        m_ms += m_stepPerReading;
        m_steady += m_stepPerReading;
        const sys_seconds at = floor<std::chrono::seconds>(sys_time<milliseconds>{reading});
        const sys_days day = floor<days>(at);
        const year_month_day date{day};
        const hh_mm_ss clock{at - day};
        return {{{int(date.year()), int(unsigned(date.month())), int(unsigned(date.day()))},
                 {int(clock.hours().count()), int(clock.minutes().count()),
                  int(clock.seconds().count())}},
                reading.count(),
                steady.count()};
    }
    // At the start of that second: the clock is set, the steady clock stays.
    void set(const LocalDateTime &now) {
        using namespace std::chrono;
        const sys_days day{year{now.date.year} / now.date.month / now.date.day};
        m_ms = (day + hours{now.time.hour} + minutes{now.time.minute} +
                std::chrono::seconds{now.time.second})
                   .time_since_epoch();
    }
    void advance(int seconds) { advanceMilliseconds(seconds * 1000); }
    void advanceMilliseconds(int milliseconds) {
        m_ms += std::chrono::milliseconds{milliseconds};
        m_steady += std::chrono::milliseconds{milliseconds};
    }
    // The computer sleeps: the wall clock goes on, the steady clock does not.
    void sleep(int milliseconds) { m_ms += std::chrono::milliseconds{milliseconds}; }
    // Time that passes with every reading, as it does on a real clock.
    void setStepPerReading(int milliseconds) {
        m_stepPerReading = std::chrono::milliseconds{milliseconds};
    }

private:
    mutable std::chrono::milliseconds m_ms{0};
    mutable std::chrono::milliseconds m_steady{0};
    std::chrono::milliseconds m_stepPerReading{0};
};

// A timer whose ticks the test calls itself.
class ManualTimer final : public Timer {
public:
    void startIn(int delayMilliseconds) override {
        m_active = true;
        m_delay = delayMilliseconds;
        ++m_starts;
    }
    void stop() override { m_active = false; }
    bool isActive() const override { return m_active; }
    int delay() const { return m_delay; }
    // How often startIn() was called.
    int starts() const { return m_starts; }
    void fire() {
        m_active = false;
        timeout();
    }

private:
    bool m_active = false;
    int m_delay = 0;
    int m_starts = 0;
};

} // namespace wendle::test
