#include "ui/status_notifier_watch.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QTimer>

namespace wendle {

namespace {

const QString WatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString WatcherPath = QStringLiteral("/StatusNotifierWatcher");

// The first answer decides whether a window started minimised shows in the
// taskbar, so a watcher gets a few seconds; later questions the bus's own
// time, at most one at a time, so a hung watcher costs one wake-up per wait.
constexpr int FirstAnswerMilliseconds = 5000;

} // namespace

StatusNotifierWatch::StatusNotifierWatch(QObject *parent) : QObject(parent) {}

StatusNotifierWatch::~StatusNotifierWatch() = default;

void StatusNotifierWatch::start() {
    if (m_started)
        return;
    m_started = true;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        QTimer::singleShot(0, this, [this] { answered(Host::None); });
        return;
    }
    auto *watcher = new QDBusServiceWatcher(WatcherService, bus,
                                            QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString &, const QString &, const QString &owner) {
                if (owner.isEmpty())
                    answered(Host::None);
                else
                    ask();
            });
    // From whichever owner the watcher's name has: naming the service here
    // would make Qt look its owner up, waiting for the bus.
    bus.connect(QString(), WatcherPath, WatcherService,
                QStringLiteral("StatusNotifierHostRegistered"), this, SLOT(hostRegistered()));
    bus.connect(QString(), WatcherPath, WatcherService,
                QStringLiteral("StatusNotifierHostUnregistered"), this, SLOT(hostUnregistered()));
    ask();
}

void StatusNotifierWatch::hostRegistered() {
    answered(Host::Registered);
}

void StatusNotifierWatch::hostUnregistered() {
    // Another host may still be there.
    ask();
}

void StatusNotifierWatch::ask() {
    if (m_asking) {
        m_askAgain = true;
        return;
    }
    m_asking = true;
    QDBusMessage question = QDBusMessage::createMethodCall(
        WatcherService, WatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    question << WatcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    // No watcher is started for the question's sake.
    question.setAutoStartService(false);
    const int wait = m_host == Host::Unknown ? FirstAnswerMilliseconds : -1;
    auto *pending =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(question, wait), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher *call) {
                call->deleteLater();
                m_asking = false;
                const QDBusPendingReply<QDBusVariant> reply = *call;
                const QDBusError::ErrorType error = reply.error().type();
                if (!reply.isError())
                    answered(reply.value().variant().toBool() ? Host::Registered : Host::None);
                else if (error == QDBusError::NoReply || error == QDBusError::Timeout ||
                         error == QDBusError::TimedOut)
                    answered(Host::NotAnswering);
                else
                    answered(Host::None);
                // Not answering, the watcher is asked until it does.
                if (m_askAgain || m_host == Host::NotAnswering) {
                    m_askAgain = false;
                    ask();
                }
            });
}

void StatusNotifierWatch::answered(Host host) {
    if (m_host == host)
        return;
    m_host = host;
    emit changed();
}

} // namespace wendle
