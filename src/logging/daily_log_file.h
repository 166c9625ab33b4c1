#pragma once

#include <QByteArray>
#include <QString>

namespace wendle {

// A day's log file opened for appending. Each line goes to the kernel in one
// write and is synced to disk before append() returns, so that a crash or a
// power cut loses at most the line being written and never leaves half of it.
class DailyLogFile {
public:
    DailyLogFile() = default;
    ~DailyLogFile();
    DailyLogFile(const DailyLogFile &) = delete;
    DailyLogFile &operator=(const DailyLogFile &) = delete;

    // Creates the file when missing; never truncates it. On failure returns
    // false and puts the system's reason into *error.
    bool open(const QString &path, QString *error);
    // Writes the whole line or nothing: a write that stops short is taken back.
    bool append(const QByteArray &line, QString *error);
    void close();

    bool isOpen() const { return m_fd >= 0; }
    QString path() const { return m_path; }

private:
    int m_fd = -1;
    QString m_path;
};

} // namespace wendle
