#include "logging/log_tail.h"
#include "logging/system_error.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wendle {

FileEnd readFileEnd(const std::string &path, std::size_t maxChars) {
    FileEnd end;
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        end.status = errno == ENOENT ? LogTail::Status::Missing : LogTail::Status::Failed;
        end.error = systemErrorText(errno);
        return end;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        end.error = systemErrorText(S_ISDIR(info.st_mode) ? EISDIR : errno);
        ::close(fd);
        return end;
    }

    // No character takes more than four bytes in UTF-8.
    const off_t want = std::min<off_t>(info.st_size, static_cast<off_t>(maxChars) * 4);
    const off_t start = info.st_size - want;
    end.cut = start > 0;

    end.bytes.resize(static_cast<std::size_t>(want));
    std::size_t got = 0;
    while (got < end.bytes.size()) {
        const ssize_t n = ::pread(fd, end.bytes.data() + got, end.bytes.size() - got,
                                  start + static_cast<off_t>(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            end.error = systemErrorText(errno);
            ::close(fd);
            return end;
        }
        if (n == 0)
            break; // the file shrank meanwhile
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    end.bytes.resize(got);
    end.status = LogTail::Status::Read;
    return end;
}

std::string logTextToUtf8(const std::string &bytes, bool cut) {
    // The program's text is UTF-8 as on every current Linux desktop: a cut
    // character shows up as leading continuation bytes.
    std::size_t skip = 0;
    if (cut)
        while (skip < bytes.size() && (static_cast<unsigned char>(bytes[skip]) & 0xC0) == 0x80)
            ++skip;
    return bytes.substr(skip);
}

} // namespace wendle
