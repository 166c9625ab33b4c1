#pragma once

#include "logging/timer.h"

#include <QTimer>

namespace wendle {

// The logging timer on Qt's event loop: a precise single shot. A coarse timer
// may fire up to 5 % early and rounds long delays to whole seconds, which
// would skip or repeat seconds in the log.
class QtTimer final : public Timer {
public:
    QtTimer();

    void startIn(int delayMilliseconds) override { m_timer.start(delayMilliseconds); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

    QTimer &qtimer() { return m_timer; }

private:
    QTimer m_timer;
};

} // namespace wendle
