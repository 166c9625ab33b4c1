#pragma once

#include "logging/clock.h"

namespace wendle::test {

// A clock the test sets by hand, so that ticks can cross midnight at once.
class FakeClock final : public Clock {
public:
    explicit FakeClock(QDateTime now = QDateTime(QDate(2003, 12, 2), QTime(14, 3, 12)))
        : m_now(std::move(now)) {}
    QDateTime now() const override { return m_now; }
    void set(const QDateTime &now) { m_now = now; }
    void advance(int seconds) { m_now = m_now.addSecs(seconds); }

private:
    QDateTime m_now;
};

} // namespace wendle::test
