#include "logging/log_tail.h"
#include "logging/system_error.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstring>
#include <fcntl.h>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wendle {

FileEnd readFileEnd(const std::string &path, std::size_t maxChars) {
    FileEnd end;
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        end.status = errno == ENOENT ? LogTail::Status::Missing : LogTail::Status::Failed;
        end.error = systemErrorText(errno);
        return end;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        end.error = systemErrorText(errno);
        ::close(fd);
        return end;
    }
    if (!S_ISREG(info.st_mode)) {
        end.error = S_ISDIR(info.st_mode) ? systemErrorText(EISDIR) : NotRegularFileText;
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

namespace {

// The encoding the lines were written in: that of the time format's locale.
std::string timeCodeset() {
    const locale_t time = ::newlocale(LC_CTYPE_MASK, std::setlocale(LC_TIME, nullptr), nullptr);
    if (!time)
        return "UTF-8";
    const std::string codeset = ::nl_langinfo_l(CODESET, time);
    ::freelocale(time);
    return codeset;
}

bool isUtf8(const std::string &codeset) {
    return codeset == "UTF-8" || codeset == "utf8";
}

} // namespace

std::string logTextToUtf8(const std::string &bytes, bool cut) {
    const std::string codeset = timeCodeset();
    std::size_t skip = 0;
    if (isUtf8(codeset) || codeset == "ANSI_X3.4-1968") {
        // A cut UTF-8 character shows up as leading continuation bytes.
        if (cut)
            while (skip < bytes.size() && (static_cast<unsigned char>(bytes[skip]) & 0xC0) == 0x80)
                ++skip;
        return bytes.substr(skip);
    }
    // Other encodings (EUC-JP, ISO 8859-x, ...): the text starts after the
    // first plain ASCII byte, which is never part of another character.
    if (cut) {
        while (skip < bytes.size() && static_cast<unsigned char>(bytes[skip]) >= 0x80)
            ++skip;
    }
    const iconv_t convert = ::iconv_open("UTF-8", codeset.c_str());
    if (convert == reinterpret_cast<iconv_t>(-1))
        return bytes.substr(skip);
    std::string text(4 * (bytes.size() - skip) + 4, '\0');
    char *in = const_cast<char *>(bytes.data() + skip);
    std::size_t inLeft = bytes.size() - skip;
    char *out = text.data();
    std::size_t outLeft = text.size();
    while (inLeft > 0) {
        if (::iconv(convert, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1))
            break;
        if (errno != EILSEQ && errno != EINVAL)
            break;
        // A byte the encoding does not know shows as a replacement character.
        ++in;
        --inLeft;
        if (outLeft >= 3) {
            std::memcpy(out, "\xEF\xBF\xBD", 3);
            out += 3;
            outLeft -= 3;
        }
    }
    ::iconv_close(convert);
    text.resize(text.size() - outLeft);
    return text;
}

} // namespace wendle
