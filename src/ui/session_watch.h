#pragma once

#include "logging/pause_state.h"

#include <QObject>
#include <QString>
#include <QVariantMap>

class QDBusMessage;

namespace wendle {

// What the desktop says of the session: the screen locked, another session
// in front, the computer going to sleep. Every source that exists is
// listened to, by its signals, and asked once for its state; nothing waits
// for the bus, and nothing asks it again and again.
class SessionWatch : public QObject {
    Q_OBJECT

public:
    explicit SessionWatch(QObject *parent = nullptr);
    void start();

signals:
    void changed(wendle::PauseSource source, bool on);

private slots:
    void screenSaverChanged(bool active);
    void gnomeScreenSaverChanged(bool active);
    void sessionLocked(const QDBusMessage &message);
    void sessionUnlocked(const QDBusMessage &message);
    void sessionPropertiesChanged(const QString &interface, const QVariantMap &changed,
                                  const QStringList &invalidated, const QDBusMessage &message);
    void preparingForSleep(bool sleeping, const QDBusMessage &message);

private:
    void listen();
    // logind answers under this unique name now (empty: it is gone).
    void logindIs(const QString &owner);
    void askScreenSaver(const QString &service, const QString &path, PauseSource source);
    void findSession();
    void listenToSession(const QString &path);
    void askSession();
    void sessionProperties(const QVariantMap &properties);
    // Only logind's own signals count on the system bus, which any
    // program may send to.
    bool fromLogind(const QDBusMessage &message) const;

    bool m_started = false;
    QString m_logind;      // the unique name logind answers under
    QString m_sessionPath; // this session's object, once found
};

} // namespace wendle
