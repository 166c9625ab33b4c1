#include "ui/session_watch.h"

// Built without Qt's D-Bus module: nothing tells of a locked session.
namespace wendle {

SessionWatch::SessionWatch(QObject *parent) : QObject(parent) {}

void SessionWatch::start() {}

void SessionWatch::screenSaverChanged(bool) {}
void SessionWatch::gnomeScreenSaverChanged(bool) {}
void SessionWatch::sessionLocked(const QDBusMessage &) {}
void SessionWatch::sessionUnlocked(const QDBusMessage &) {}
void SessionWatch::sessionPropertiesChanged(const QString &, const QVariantMap &,
                                            const QStringList &, const QDBusMessage &) {}
void SessionWatch::preparingForSleep(bool, const QDBusMessage &) {}

} // namespace wendle
