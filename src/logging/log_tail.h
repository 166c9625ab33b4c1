#pragma once

#include <QString>

namespace wendle {

struct LogTail {
    enum class Status { Read, Missing, Failed };
    Status status = Status::Failed;
    QString text;  // the tail, when read
    QString error; // the system's reason, when failed
};

// The last maxChars characters of a log file. Only the end of the file is
// read, so a file of a gigabyte costs what a small one does; a character cut
// in half by where the reading starts is dropped, never shown as garbage.
LogTail readLogTail(const QString &path, qsizetype maxChars);

} // namespace wendle
