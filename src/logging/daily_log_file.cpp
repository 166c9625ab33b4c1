#include "logging/daily_log_file.h"

#include "logging/system_error.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace wendle {

namespace {

// Past a file size limit the kernel sends SIGXFSZ, whose default action kills
// the program; ignored, the write fails with EFBIG and can be reported.
void ignoreFileSizeSignal() {
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGXFSZ, SIG_IGN); });
}

} // namespace

DailyLogFile::~DailyLogFile() {
    close();
}

bool DailyLogFile::open(const QString &path, QString *error) {
    close();
    ignoreFileSizeSignal();
    const QByteArray native = QFile::encodeName(path);
    int fd;
    do {
        fd = ::open(native.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        *error = systemErrorText(errno);
        return false;
    }
    struct stat info;
    if (::fstat(fd, &info) == 0 && !S_ISREG(info.st_mode)) {
        ::close(fd);
        *error = systemErrorText(EISDIR);
        return false;
    }
    m_fd = fd;
    m_path = path;
    return true;
}

bool DailyLogFile::append(const QByteArray &line, QString *error) {
    if (m_fd < 0) {
        *error = systemErrorText(EBADF);
        return false;
    }
    struct stat info;
    const off_t before = ::fstat(m_fd, &info) == 0 ? info.st_size : -1;

    const char *data = line.constData();
    qsizetype left = line.size();
    int failure = 0;
    while (left > 0) {
        const ssize_t written = ::write(m_fd, data, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            failure = errno;
            break;
        }
        data += written;
        left -= written;
    }
    if (failure == 0 && ::fdatasync(m_fd) != 0)
        failure = errno;
    if (failure != 0) {
        // Whatever part of the line reached the file must not stay there as
        // a torn line.
        if (before >= 0) [[maybe_unused]]
            int ignored = ::ftruncate(m_fd, before);
        *error = systemErrorText(failure);
        return false;
    }
    return true;
}

void DailyLogFile::close() {
    if (m_fd < 0)
        return;
    ::close(m_fd);
    m_fd = -1;
    m_path.clear();
}

} // namespace wendle
