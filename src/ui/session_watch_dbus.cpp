#include "ui/session_watch.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QThread>

#include <unistd.h>

namespace wendle {

namespace {

const QString Logind = QStringLiteral("org.freedesktop.login1");
const QString LogindPath = QStringLiteral("/org/freedesktop/login1");
const QString ManagerInterface = QStringLiteral("org.freedesktop.login1.Manager");
const QString SessionInterface = QStringLiteral("org.freedesktop.login1.Session");
const QString Properties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString FreedesktopScreenSaver = QStringLiteral("org.freedesktop.ScreenSaver");
const QString GnomeScreenSaver = QStringLiteral("org.gnome.ScreenSaver");

// An asynchronous call; then runs on the window's thread with its answer,
// unless the watch is gone.
template <typename Answer>
void callThen(QDBusConnection bus, QDBusMessage call, QObject *owner, Answer answer) {
    // Nothing is started for a question's sake.
    call.setAutoStartService(false);
    auto *pending = new QDBusPendingCallWatcher(bus.asyncCall(call), owner);
    QObject::connect(pending, &QDBusPendingCallWatcher::finished, owner,
                     [answer](QDBusPendingCallWatcher *call) {
                         call->deleteLater();
                         if (!call->isError())
                             answer(call->reply());
                     });
}

} // namespace

SessionWatch::SessionWatch(QObject *parent) : QObject(parent) {}

void SessionWatch::start() {
    if (m_started)
        return;
    m_started = true;
    // Making the connections to the buses waits for them: done on a thread
    // of its own, the window's thread then finds them made. Not owned by
    // the window, so that a bus that never answers cannot hold up its end.
    QThread *connecting = QThread::create([] {
        QDBusConnection::sessionBus();
        QDBusConnection::systemBus();
    });
    connect(connecting, &QThread::finished, this, &SessionWatch::listen);
    connect(connecting, &QThread::finished, connecting, &QObject::deleteLater);
    connecting->start();
}

void SessionWatch::listen() {
    QDBusConnection session = QDBusConnection::sessionBus();
    if (session.isConnected()) {
        // Matched by path and interface from any sender: GNOME Shell sends
        // its lock under its own name, not org.gnome.ScreenSaver's. KDE's
        // locker has the freedesktop interface at two paths.
        for (const QString &path :
             {QStringLiteral("/org/freedesktop/ScreenSaver"), QStringLiteral("/ScreenSaver")})
            session.connect(QString(), path, FreedesktopScreenSaver,
                            QStringLiteral("ActiveChanged"), this, SLOT(screenSaverChanged(bool)));
        session.connect(QString(), QStringLiteral("/org/gnome/ScreenSaver"), GnomeScreenSaver,
                        QStringLiteral("ActiveChanged"), this, SLOT(gnomeScreenSaverChanged(bool)));
        askScreenSaver(FreedesktopScreenSaver, QStringLiteral("/org/freedesktop/ScreenSaver"),
                       PauseSource::ScreenSaver);
        askScreenSaver(GnomeScreenSaver, QStringLiteral("/org/gnome/ScreenSaver"),
                       PauseSource::GnomeScreenSaver);
    }
    QDBusConnection system = QDBusConnection::systemBus();
    if (!system.isConnected())
        return;
    system.connect(QString(), LogindPath, ManagerInterface, QStringLiteral("PrepareForSleep"), this,
                   SLOT(preparingForSleep(bool, QDBusMessage)));
    // Whose signals are logind's: asked once, then followed, as logind may
    // start late or be restarted (an upgrade does) under another name.
    auto *owners =
        new QDBusServiceWatcher(Logind, system, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(owners, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString &, const QString &, const QString &owner) { logindIs(owner); });
    QDBusMessage owner = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetNameOwner"));
    owner << Logind;
    callThen(system, owner, this, [this](const QDBusMessage &reply) {
        logindIs(reply.arguments().value(0).toString());
    });
}

void SessionWatch::logindIs(const QString &owner) {
    m_logind = owner;
    if (owner.isEmpty())
        return;
    // A logind that came since may have seen the session change meanwhile.
    if (m_sessionPath.isEmpty())
        findSession();
    else
        askSession();
}

void SessionWatch::askScreenSaver(const QString &service, const QString &path, PauseSource source) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, path, service, QStringLiteral("GetActive"));
    callThen(QDBusConnection::sessionBus(), call, this, [this, source](const QDBusMessage &reply) {
        emit changed(source, reply.arguments().value(0).toBool());
    });
}

void SessionWatch::findSession() {
    // This program's session: the one it was started in, else its process's.
    const QByteArray id = qgetenv("XDG_SESSION_ID");
    QDBusMessage call = QDBusMessage::createMethodCall(
        Logind, LogindPath, ManagerInterface,
        id.isEmpty() ? QStringLiteral("GetSessionByPID") : QStringLiteral("GetSession"));
    if (id.isEmpty())
        call << quint32(getpid());
    else
        call << QString::fromLocal8Bit(id);
    callThen(QDBusConnection::systemBus(), call, this, [this](const QDBusMessage &reply) {
        const QDBusObjectPath path = qvariant_cast<QDBusObjectPath>(reply.arguments().value(0));
        if (!path.path().isEmpty())
            listenToSession(path.path());
    });
}

void SessionWatch::listenToSession(const QString &path) {
    m_sessionPath = path;
    QDBusConnection system = QDBusConnection::systemBus();
    system.connect(QString(), path, SessionInterface, QStringLiteral("Lock"), this,
                   SLOT(sessionLocked(QDBusMessage)));
    system.connect(QString(), path, SessionInterface, QStringLiteral("Unlock"), this,
                   SLOT(sessionUnlocked(QDBusMessage)));
    system.connect(QString(), path, Properties, QStringLiteral("PropertiesChanged"), this,
                   SLOT(sessionPropertiesChanged(QString, QVariantMap, QStringList, QDBusMessage)));
    askSession();
}

void SessionWatch::askSession() {
    QDBusMessage call =
        QDBusMessage::createMethodCall(Logind, m_sessionPath, Properties, QStringLiteral("GetAll"));
    call << SessionInterface;
    callThen(QDBusConnection::systemBus(), call, this, [this](const QDBusMessage &reply) {
        sessionProperties(qdbus_cast<QVariantMap>(reply.arguments().value(0)));
    });
}

void SessionWatch::sessionProperties(const QVariantMap &properties) {
    if (const auto hint = properties.find(QStringLiteral("LockedHint")); hint != properties.end())
        emit changed(PauseSource::SessionLockedHint, hint->toBool());
    if (const auto active = properties.find(QStringLiteral("Active")); active != properties.end())
        emit changed(PauseSource::SessionInactive, !active->toBool());
}

bool SessionWatch::fromLogind(const QDBusMessage &message) const {
    return !m_logind.isEmpty() && message.service() == m_logind;
}

void SessionWatch::screenSaverChanged(bool active) {
    emit changed(PauseSource::ScreenSaver, active);
}

void SessionWatch::gnomeScreenSaverChanged(bool active) {
    emit changed(PauseSource::GnomeScreenSaver, active);
}

void SessionWatch::sessionLocked(const QDBusMessage &message) {
    if (fromLogind(message))
        emit changed(PauseSource::SessionLock, true);
}

void SessionWatch::sessionUnlocked(const QDBusMessage &message) {
    if (fromLogind(message))
        emit changed(PauseSource::SessionLock, false);
}

void SessionWatch::sessionPropertiesChanged(const QString &interface, const QVariantMap &changed,
                                            const QStringList &invalidated,
                                            const QDBusMessage &message) {
    if (interface != SessionInterface || !fromLogind(message))
        return;
    sessionProperties(changed);
    // Told only that they changed: asked once what they are now.
    if (invalidated.contains(QStringLiteral("LockedHint")) ||
        invalidated.contains(QStringLiteral("Active")))
        askSession();
}

void SessionWatch::preparingForSleep(bool sleeping, const QDBusMessage &message) {
    if (fromLogind(message))
        emit changed(PauseSource::Sleep, sleeping);
}

} // namespace wendle
