#include "logging/daily_log_file.h"
#include "logging/log_paths.h"
#include "logging/system_error.h"

#include <cerrno>
#include <csignal>
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

int fd(std::intptr_t handle) {
    return static_cast<int>(handle);
}

} // namespace

bool DailyLogFile::open(const std::string &path, std::string &error) {
    close();
    ignoreFileSizeSignal();
    // Never blocks: a pipe without a reader fails at once, one with a reader
    // is refused below.
    int file;
    do {
        file = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
    } while (file < 0 && errno == EINTR);
    if (file < 0) {
        const int reason = errno;
        struct stat info;
        error = ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)
                    ? NotRegularFileText
                    : systemErrorText(reason);
        return false;
    }
    struct stat info;
    const bool known = ::fstat(file, &info) == 0;
    if (!known || !S_ISREG(info.st_mode)) {
        error = known ? NotRegularFileText : systemErrorText(errno);
        ::close(file);
        return false;
    }
    // Writes must wait for the disk, not fail when it is slow.
    const int flags = ::fcntl(file, F_GETFL);
    if (flags < 0 || ::fcntl(file, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        error = systemErrorText(errno);
        ::close(file);
        return false;
    }
    m_handle = file;
    m_path = path;
    return true;
}

bool DailyLogFile::append(const std::string &line, std::string &error) {
    if (!isOpen()) {
        error = systemErrorText(EBADF);
        return false;
    }
    struct stat info;
    const off_t before = ::fstat(fd(m_handle), &info) == 0 ? info.st_size : -1;

    const char *data = line.data();
    std::size_t left = line.size();
    int failure = 0;
    while (left > 0) {
        const ssize_t written = ::write(fd(m_handle), data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            failure = errno;
            break;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    if (failure == 0 && ::fdatasync(fd(m_handle)) != 0)
        failure = errno;
    if (failure != 0) {
        // Whatever part of the line reached the file must not stay there as
        // a torn line.
        if (before >= 0) [[maybe_unused]]
            int ignored = ::ftruncate(fd(m_handle), before);
        error = systemErrorText(failure);
        return false;
    }
    return true;
}

void DailyLogFile::close() {
    if (!isOpen())
        return;
    ::close(fd(m_handle));
    m_handle = NoHandle;
    m_path.clear();
}

} // namespace wendle
