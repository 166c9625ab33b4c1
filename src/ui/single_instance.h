#pragma once

#include <QLockFile>
#include <QObject>

class QSocketNotifier;

namespace wendle {

// One Wendle per user. The first copy holds a lock file in the user's
// private runtime folder and listens on a local socket beside it; a later copy
// finds the lock held, asks the first to come forward, and ends. A copy
// that was killed leaves a lock whose process is gone, which the next start
// takes over; of copies started at the same moment exactly one gets the lock.
// The socket is a plain Unix one: Qt's network module would cost every start
// its libraries.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    explicit SingleInstance(QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this is the only copy. Otherwise the running copy has been
    // asked to come forward (as far as it could be reached).
    bool claim();
    // Why a later start cannot reach this copy; empty while it can.
    const QString &listenProblem() const { return m_listenProblem; }

signals:
    // Another start asked this copy to come forward, with the activation
    // token its launcher gave it (empty when none).
    void comeForward(const QString &activationToken);

private:
    // Always true: this copy is the only one, reachable or not.
    bool listen();
    bool callRunningCopy() const;
    void answerCalls();

    QString m_folder;
    QString m_socket;
    QLockFile m_lock;
    int m_listener = -1;
    QSocketNotifier *m_notifier = nullptr;
    QString m_listenProblem;
};

} // namespace wendle
