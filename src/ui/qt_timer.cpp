#include "ui/qt_timer.h"

namespace wendle {

QtTimer::QtTimer() {
    m_timer.setObjectName(QStringLiteral("tmrLog"));
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { timeout(); });
}

} // namespace wendle
