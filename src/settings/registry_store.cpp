#include "settings/registry_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wendle {

namespace {

// Also true of root, which access() lets write anywhere: a file or folder
// whose owner took away its write bit counts as read-only.
bool mayWrite(const QString &path) {
    const QByteArray native = QFile::encodeName(path);
    struct stat info;
    if (::stat(native.constData(), &info) != 0)
        return false;
    return (info.st_mode & S_IWUSR) && ::access(native.constData(), W_OK) == 0;
}

QString nearestExistingFolder(QString folder) {
    while (!QFileInfo::exists(folder)) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            break;
        folder = parent;
    }
    return folder;
}

void syncFolder(const QString &folder) {
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

class ExclusiveLock {
public:
    explicit ExclusiveLock(const QString &path) {
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd < 0)
            return;
        int result;
        do {
            result = ::flock(m_fd, LOCK_EX);
        } while (result != 0 && errno == EINTR);
        if (result != 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~ExclusiveLock() {
        if (m_fd >= 0)
            ::close(m_fd); // closing releases the lock
    }
    bool held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

} // namespace

QString RegistryStore::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/wendle/registry.reg");
}

RegistryStore::RegistryStore(QString path) : m_path(std::move(path)) {}

RegDocument RegistryStore::read() const {
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return RegDocument();
    return RegDocument::parse(file.readAll());
}

bool RegistryStore::writable() const {
    const QFileInfo info(m_path);
    if (info.exists())
        return mayWrite(m_path) && mayWrite(info.absolutePath());
    return mayWrite(nearestExistingFolder(info.absolutePath()));
}

bool RegistryStore::update(const std::function<bool(RegDocument &)> &change) const {
    if (!writable())
        return false;
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder))
        return false;
    const ExclusiveLock lock(m_path + QStringLiteral(".lock"));
    if (!lock.held())
        return false;

    // A store that is there but cannot be read must not be replaced by one
    // made from nothing.
    QFile current(m_path);
    if (current.exists() && !current.open(QIODevice::ReadOnly))
        return false;
    RegDocument document = RegDocument::parse(current.isOpen() ? current.readAll() : QByteArray());
    current.close();
    if (!change(document))
        return true;

    QSaveFile file(m_path);
    // Never write in place: a crash would leave a torn store.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray text = document.serialize();
    if (file.write(text) != text.size()) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return false;
    syncFolder(folder);
    return true;
}

} // namespace wendle
