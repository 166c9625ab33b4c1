#include "ui/status_notifier_watch.h"

#include <QTimer>

// Built without Qt's D-Bus module: no StatusNotifierItem host can be reached.
namespace wendle {

StatusNotifierWatch::StatusNotifierWatch(QObject *parent) : QObject(parent) {}

StatusNotifierWatch::~StatusNotifierWatch() = default;

void StatusNotifierWatch::start() {
    if (m_started)
        return;
    m_started = true;
    QTimer::singleShot(0, this, [this] { answered(Host::None); });
}

void StatusNotifierWatch::hostRegistered() {}

void StatusNotifierWatch::hostUnregistered() {}

void StatusNotifierWatch::ask() {}

void StatusNotifierWatch::answered(Host host) {
    if (m_host == host)
        return;
    m_host = host;
    emit changed();
}

} // namespace wendle
