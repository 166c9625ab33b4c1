#include "ui/single_instance.h"

#include "logging/system_error.h"
#include "ui/qt_text.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace wendle {

namespace {

bool ownPrivateFolder(const QByteArray &folder) {
    struct stat info;
    return ::lstat(folder.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

// The user's runtime folder. Without XDG_RUNTIME_DIR (su -, ssh, cron) it is
// the one the system made for the user's logins, so that such a copy finds
// the one the desktop started; else a folder of the user's own in /tmp,
// made for the user alone. Never one another user could have made: empty
// when there is none.
QString runtimeFolder() {
    const QByteArray given = qgetenv("XDG_RUNTIME_DIR");
    if (given.startsWith('/') && ownPrivateFolder(given))
        return QFile::decodeName(given);
    const QByteArray uid = QByteArray::number(qulonglong(::geteuid()));
    for (const QByteArray &folder : {"/run/user/" + uid, "/tmp/wendle-" + uid}) {
        if (folder.startsWith("/tmp/"))
            ::mkdir(folder.constData(), 0700);
        if (ownPrivateFolder(folder))
            return QFile::decodeName(folder);
    }
    return {};
}

QString runtimeFile(const QString &folder, const QString &name) {
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + name;
}

// The socket's address; false when the path is too long for one.
bool socketAddress(const QString &path, sockaddr_un &address) {
    const QByteArray name = QFile::encodeName(path);
    address = {};
    address.sun_family = AF_UNIX;
    if (name.size() >= qsizetype(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, name.constData(), name.size());
    return true;
}

} // namespace

SingleInstance::SingleInstance(QObject *parent)
    : QObject(parent), m_folder(runtimeFolder()),
      m_socket(runtimeFile(m_folder, QStringLiteral("wendle.socket"))),
      m_lock(runtimeFile(m_folder, QStringLiteral("wendle.lock"))) {
    // A lock is stale only when its process is gone, never by its age.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
    if (m_listener >= 0) {
        ::close(m_listener);
        ::unlink(QFile::encodeName(m_socket).constData());
    }
}

bool SingleInstance::listen() {
    sockaddr_un address;
    if (!socketAddress(m_socket, address)) {
        m_listenProblem = QStringLiteral("the path %1 is too long for a socket").arg(m_socket);
        return true;
    }
    // What a killed copy left of its socket goes first; the lock says it
    // is not in use.
    ::unlink(address.sun_path);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    const mode_t mask = ::umask(077); // the socket is for this user alone
    const bool bound = listener >= 0 && ::bind(listener, reinterpret_cast<sockaddr *>(&address),
                                               sizeof address) == 0;
    ::umask(mask);
    if (!bound || ::listen(listener, 8) != 0) {
        m_listenProblem = qt(systemErrorText(errno));
        if (listener >= 0)
            ::close(listener);
        return true;
    }
    m_listener = listener;
    m_notifier = new QSocketNotifier(listener, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SingleInstance::answerCalls);
    return true;
}

void SingleInstance::answerCalls() {
    // Each connection is a call: "forward", then the activation token the
    // caller's launcher gave it, if any (Wayland lets a window come to the
    // front only with one).
    for (;;) {
        const int caller = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (caller < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        const timeval wait{1, 0};
        ::setsockopt(caller, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        QByteArray said;
        char buffer[512];
        ssize_t got;
        while (said.size() < 4096 && (got = ::recv(caller, buffer, sizeof buffer, 0)) > 0)
            said.append(buffer, static_cast<int>(got));
        ::close(caller);
        const QList<QByteArray> words = said.trimmed().split(' ');
        emit comeForward(words.size() > 1 ? QString::fromUtf8(words.at(1)) : QString());
    }
}

bool SingleInstance::callRunningCopy() const {
    sockaddr_un address;
    if (!socketAddress(m_socket, address))
        return false;
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return false;
    QByteArray call = "forward";
    if (const QByteArray token = qgetenv("XDG_ACTIVATION_TOKEN");
        !token.isEmpty() && !token.contains(' '))
        call += ' ' + token;
    call += '\n';
    const bool reached =
        ::connect(socket, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
        ::send(socket, call.constData(), call.size(), MSG_NOSIGNAL) == call.size();
    ::close(socket);
    return reached;
}

bool SingleInstance::claim() {
    // Logging is never kept from starting: the held lines' own lock still
    // keeps a second copy from sharing them.
    if (m_folder.isEmpty()) {
        m_listenProblem = QStringLiteral("there is no private runtime folder of yours "
                                         "(XDG_RUNTIME_DIR is not set)");
        return true;
    }
    if (m_lock.tryLock(0))
        return listen();
    // The running copy may be starting up: keep trying for a few seconds.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 5000) {
        if (callRunningCopy())
            return false;
        // The holder died meanwhile: its lock is stale now.
        if (m_lock.tryLock(0))
            return listen();
        QThread::msleep(50);
    }
    return false;
}

} // namespace wendle
