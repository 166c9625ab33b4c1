#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>

namespace wendle {

// One Wendle per user. The first copy holds a lock file in the user's
// runtime directory and listens on a local socket beside it; a later copy
// finds the lock held, asks the first to come forward, and ends. A copy
// that was killed leaves a lock whose process is gone, which the next start
// takes over; of copies started at the same moment exactly one gets the lock.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    explicit SingleInstance(QObject *parent = nullptr);

    // True when this is the only copy. Otherwise the running copy has been
    // asked to come forward (as far as it could be reached).
    bool claim();
    // Why a later start cannot reach this copy; empty while it can.
    const QString &listenProblem() const { return m_listenProblem; }

signals:
    // Another start asked this copy to come forward.
    void comeForward();

private:
    // Always true: this copy is the only one, reachable or not.
    bool listen();

    QString m_socket;
    QLockFile m_lock;
    QLocalServer m_server;
    QString m_listenProblem;
};

} // namespace wendle
