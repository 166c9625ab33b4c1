#include "ui/single_instance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace wendle {

namespace {

QString runtimeFile(const QString &name) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    QDir().mkpath(folder);
    return folder + QLatin1Char('/') + name;
}

} // namespace

SingleInstance::SingleInstance(QObject *parent)
    : QObject(parent), m_socket(runtimeFile(QStringLiteral("wendle.socket"))),
      m_lock(runtimeFile(QStringLiteral("wendle.lock"))) {
    // A lock is stale only when its process is gone, never by its age.
    m_lock.setStaleLockTime(0);
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *caller = m_server.nextPendingConnection()) {
            connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
            emit comeForward();
        }
    });
}

bool SingleInstance::listen() {
    // What a killed copy left of its socket goes first.
    QLocalServer::removeServer(m_socket);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server.listen(m_socket))
        m_listenProblem = m_server.errorString();
    return true;
}

bool SingleInstance::claim() {
    if (m_lock.tryLock(0))
        return listen();
    // The running copy may be starting up: keep trying for a few seconds.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 5000) {
        QLocalSocket socket;
        socket.connectToServer(m_socket);
        if (socket.waitForConnected(200)) {
            socket.write("forward\n");
            socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            return false;
        }
        // The holder died meanwhile: its lock is stale now.
        if (m_lock.tryLock(0))
            return listen();
        QThread::msleep(50);
    }
    return false;
}

} // namespace wendle
