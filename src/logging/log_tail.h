#pragma once

#include <cstdint>
#include <string>

namespace wendle {

struct LogTail {
    enum class Status { Read, Missing, Failed };
    Status status = Status::Failed;
    std::string text;  // the tail in UTF-8, when read
    std::string error; // the system's reason, when failed
};

// The last maxChars characters of a log file. Only the end of the file is
// read, so a file of a gigabyte costs what a small one does; a character cut
// in half by where the reading starts is dropped, never shown as garbage.
LogTail readLogTail(const std::string &path, std::size_t maxChars);

// What the platform gives readLogTail: the file's last bytes, and their text.
struct FileEnd {
    LogTail::Status status = LogTail::Status::Failed;
    std::string bytes;
    bool cut = false; // the bytes start after the file's beginning
    std::string error;
};
// At most maxChars characters' worth of bytes from the file's end.
FileEnd readFileEnd(const std::string &path, std::size_t maxChars);
// The file's bytes (in the encoding the program writes its lines in) as
// UTF-8 text, less a character cut at their start.
std::string logTextToUtf8(const std::string &bytes, bool cut);

} // namespace wendle
