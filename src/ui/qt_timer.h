#pragma once

#include "logging/timer.h"

#include <QTimer>

namespace wendle {

// The logging timer on Qt's event loop. A precise one: a coarse timer may
// fire up to 5 % early and rounds long intervals to whole seconds, which
// would skip or repeat seconds in the log.
class QtTimer final : public Timer {
public:
    QtTimer();

    void start() override { m_timer.start(); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }
    void setInterval(int milliseconds) override { m_timer.setInterval(milliseconds); }
    int interval() const override { return m_timer.interval(); }

    QTimer &qtimer() { return m_timer; }

private:
    QTimer m_timer;
};

} // namespace wendle
