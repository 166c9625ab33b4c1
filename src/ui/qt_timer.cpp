#include "ui/qt_timer.h"

namespace wendle {

QtTimer::QtTimer() {
    m_timer.setObjectName(QStringLiteral("tmrLog"));
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setSingleShot(true);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { timeout(); });
}

} // namespace wendle
