#include "logging/log_tail.h"

namespace wendle {

namespace {

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::string lastCharacters(const std::string &utf8, std::size_t count) {
    std::size_t start = utf8.size();
    for (std::size_t taken = 0; start > 0 && taken < count; ++taken) {
        --start;
        while (start > 0 && isContinuationByte(utf8[start]))
            --start;
    }
    return utf8.substr(start);
}

} // namespace

LogTail readLogTail(const std::string &path, std::size_t maxChars) {
    LogTail tail;
    FileEnd end = readFileEnd(path, maxChars);
    tail.status = end.status;
    tail.error = std::move(end.error);
    if (end.status == LogTail::Status::Read)
        tail.text = lastCharacters(logTextToUtf8(end.bytes, end.cut), maxChars);
    return tail;
}

} // namespace wendle
