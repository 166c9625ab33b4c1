#pragma once

#include <cstdint>
#include <string>

namespace wendle {

// A day's log file opened for appending. Each line goes to the system in one
// write and is flushed to disk before append() returns, so that a crash or a
// power cut loses at most the line being written and never leaves half of it.
class DailyLogFile {
public:
    DailyLogFile() = default;
    ~DailyLogFile() { close(); }
    DailyLogFile(const DailyLogFile &) = delete;
    DailyLogFile &operator=(const DailyLogFile &) = delete;

    // Creates the file when missing; never truncates it. On failure returns
    // false and puts the system's reason into error.
    bool open(const std::string &path, std::string &error);
    // Writes the whole line or nothing: a write that stops short is taken back.
    bool append(const std::string &line, std::string &error);
    void close();

    bool isOpen() const { return m_handle != NoHandle; }
    const std::string &path() const { return m_path; }

private:
    static constexpr std::intptr_t NoHandle = -1;
    std::intptr_t m_handle = NoHandle; // a file descriptor, or a Windows HANDLE
    std::string m_path;
};

} // namespace wendle
