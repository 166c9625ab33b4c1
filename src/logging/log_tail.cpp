#include "logging/log_tail.h"

#include "logging/system_error.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wendle {

namespace {

QString lastCodePoints(const QString &text, qsizetype count) {
    qsizetype start = text.size();
    for (qsizetype taken = 0; start > 0 && taken < count; ++taken) {
        --start;
        if (text.at(start).isLowSurrogate() && start > 0 && text.at(start - 1).isHighSurrogate())
            --start;
    }
    return text.mid(start);
}

} // namespace

LogTail readLogTail(const QString &path, qsizetype maxChars) {
    LogTail tail;
    int fd;
    do {
        fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        tail.status = errno == ENOENT ? LogTail::Status::Missing : LogTail::Status::Failed;
        tail.error = systemErrorText(errno);
        return tail;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        tail.error = systemErrorText(S_ISDIR(info.st_mode) ? EISDIR : errno);
        ::close(fd);
        return tail;
    }

    // No character takes more than four bytes in UTF-8.
    const qint64 want = std::min<qint64>(info.st_size, maxChars * 4);
    const off_t start = info.st_size - want;

    QByteArray bytes(static_cast<qsizetype>(want), Qt::Uninitialized);
    qsizetype got = 0;
    while (got < bytes.size()) {
        const ssize_t n =
            ::pread(fd, bytes.data() + got, static_cast<size_t>(bytes.size() - got), start + got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            tail.error = systemErrorText(errno);
            ::close(fd);
            return tail;
        }
        if (n == 0)
            break; // the file shrank meanwhile
        got += n;
    }
    ::close(fd);
    bytes.truncate(got);

    // The program's text is UTF-8 as on every current Linux desktop: a cut
    // character shows up as leading continuation bytes.
    if (start > 0) {
        qsizetype skip = 0;
        while (skip < bytes.size() && (static_cast<uchar>(bytes.at(skip)) & 0xC0) == 0x80)
            ++skip;
        bytes.remove(0, skip);
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    tail.text = lastCodePoints(decoder.decode(bytes), maxChars);
    tail.status = LogTail::Status::Read;
    return tail;
}

} // namespace wendle
