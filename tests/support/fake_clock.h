#pragma once

#include "logging/clock.h"
#include "logging/timer.h"

#include <chrono>

namespace wendle::test {

// A clock the test sets by hand, so that ticks can cross midnight at once.
class FakeClock final : public Clock {
public:
    explicit FakeClock(LocalDateTime now = {{2003, 12, 2}, {14, 3, 12}}) : m_now(now) {}
    LocalDateTime now() const override { return m_now; }
    void set(const LocalDateTime &now) { m_now = now; }
    void advance(int seconds) {
        using namespace std::chrono;
        const sys_days day{year{m_now.date.year} / m_now.date.month / m_now.date.day};
        const sys_seconds at = day + hours{m_now.time.hour} + minutes{m_now.time.minute} +
                               std::chrono::seconds{m_now.time.second + seconds};
        const sys_days newDay = floor<days>(at);
        const year_month_day date{newDay};
        const hh_mm_ss clock{at - newDay};
        m_now = {{int(date.year()), int(unsigned(date.month())), int(unsigned(date.day()))},
                 {int(clock.hours().count()), int(clock.minutes().count()),
                  int(clock.seconds().count())}};
    }

private:
    LocalDateTime m_now;
};

// A timer whose ticks the test calls itself.
class ManualTimer final : public Timer {
public:
    void start() override { m_active = true; }
    void stop() override { m_active = false; }
    bool isActive() const override { return m_active; }
    void setInterval(int milliseconds) override { m_interval = milliseconds; }
    int interval() const override { return m_interval; }
    void fire() { timeout(); }

private:
    bool m_active = false;
    int m_interval = 0;
};

} // namespace wendle::test
