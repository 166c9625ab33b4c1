#include "logging/daily_log_file.h"
#include "logging/log_paths.h"
#include "logging/own_files.h"
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

int openRetried(const char *path, int flags, mode_t mode) {
    int file;
    do {
        file = ::open(path, flags, mode);
    } while (file < 0 && errno == EINTR);
    return file;
}

} // namespace

bool DailyLogFile::open(const std::string &path, std::string &error, Kind kind) {
    close();
    ignoreFileSizeSignal();
    // Never blocks: a pipe without a reader fails at once, one with a reader
    // is refused below. A final symbolic link is not followed: in a folder
    // others can write it could lead anywhere the user may write.
    // Read access too, to see whether the file ends in the middle of a line.
    int flags = O_RDWR | O_APPEND | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW;
    const mode_t mode = kind == Kind::Own ? 0600 : 0666;
    int file = -1;
    bool created = false;
    for (int tries = 0; tries < 4 && file < 0; ++tries) {
        file = openRetried(path.c_str(), flags, 0);
        if (file < 0 && errno == EACCES && (flags & O_RDWR)) {
            flags = (flags & ~O_RDWR) | O_WRONLY; // a file the user may write but not read
            continue;
        }
        if (file >= 0 || errno != ENOENT)
            break;
        // Made here, so that the folder is synced only for a new name.
        file = openRetried(path.c_str(), flags | O_CREAT | O_EXCL, mode);
        created = file >= 0;
        if (file < 0 && errno != EEXIST)
            break;
    }
    if (file < 0) {
        const int reason = errno;
        struct stat info;
        error = reason == ELOOP || (::lstat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) &&
                                    !S_ISDIR(info.st_mode))
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
    if (kind == Kind::Own) {
        if (info.st_uid != ::geteuid()) {
            error = "belongs to another user";
            ::close(file);
            return false;
        }
        if ((info.st_mode & 077) != 0 && ::fchmod(file, 0600) != 0) {
            error = systemErrorText(errno);
            ::close(file);
            return false;
        }
    }
    // Writes must wait for the disk, not fail when it is slow.
    const int status = ::fcntl(file, F_GETFL);
    if (status < 0 || ::fcntl(file, F_SETFL, status & ~O_NONBLOCK) != 0) {
        error = systemErrorText(errno);
        ::close(file);
        return false;
    }
    if (created)
        syncFolderOf(path);
    m_handle = file;
    m_path = path;
    m_endsLines = kind == Kind::Shared && (flags & O_RDWR);
    m_identity[0] = info.st_dev;
    m_identity[1] = info.st_ino;
    return true;
}

bool DailyLogFile::append(const std::string &line, std::string &error) {
    if (!isOpen()) {
        error = systemErrorText(EBADF);
        return false;
    }
    struct stat info;
    const off_t before = ::fstat(fd(m_handle), &info) == 0 ? info.st_size : -1;
    // A line cut short by a crash, or one another program left without its
    // end, is ended first: the new line never joins it.
    std::string bytes = line;
    char last = '\n';
    if (m_endsLines && before > 0 && ::pread(fd(m_handle), &last, 1, before - 1) == 1 &&
        last != '\n')
        bytes.insert(0, "\r\n");

    const char *data = bytes.data();
    std::size_t left = bytes.size();
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
        // a torn line; but bytes another writer added after it stay.
        const off_t written = off_t(bytes.size() - left);
        const bool oursAtEnd =
            before >= 0 && ::fstat(fd(m_handle), &info) == 0 && info.st_size == before + written;
        if (written > 0 && oursAtEnd) [[maybe_unused]]
            const int ignored = ::ftruncate(fd(m_handle), before);
        else if (left > 0 && written > 0) [[maybe_unused]]
            const ssize_t ignored = ::write(fd(m_handle), "\r\n", 2);
        error = systemErrorText(failure);
        return false;
    }
    return true;
}

bool DailyLogFile::stillNamed() const {
    struct stat info;
    if (!isOpen() || ::fstat(fd(m_handle), &info) != 0 || info.st_nlink == 0)
        return false;
    return ::lstat(m_path.c_str(), &info) == 0 && std::uint64_t(info.st_dev) == m_identity[0] &&
           std::uint64_t(info.st_ino) == m_identity[1];
}

void DailyLogFile::close() {
    if (!isOpen())
        return;
    ::close(fd(m_handle));
    m_handle = NoHandle;
    m_path.clear();
}

} // namespace wendle
