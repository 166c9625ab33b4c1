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

    // A day's file may lie in a folder others share; the program's own
    // files are for the user alone (0600), and refused when another owns them.
    enum class Kind { Shared, Own };

    // Creates the file when missing (and syncs its folder then); never
    // truncates it. A symbolic link (on Windows any reparse point) in the
    // file's place is not followed but refused as not a regular file. On
    // failure returns false and puts the system's reason into error.
    bool open(const std::string &path, std::string &error, Kind kind = Kind::Shared);
    // Writes the whole line or nothing, after a CR LF when a day's file ends
    // in the middle of a line (cut short by a crash): a write that stops short is taken
    // back while the file still ends with it; when another writer has added
    // to the file since, what was written is ended with CR LF instead, to
    // stand as one unreadable line rather than join the next.
    bool append(const std::string &line, std::string &error);
    // Whether the file written is still the one under its name: false when
    // it was deleted, or another was renamed over it, meanwhile.
    bool stillNamed() const;
    void close();

    bool isOpen() const { return m_handle != NoHandle; }
    const std::string &path() const { return m_path; }

private:
    static constexpr std::intptr_t NoHandle = -1;
    std::intptr_t m_handle = NoHandle; // a file descriptor, or a Windows HANDLE
    std::string m_path;
    std::uint64_t m_identity[2] = {}; // the file's device or volume, and its number there
    bool m_endsLines = false;         // a line cut short at the file's end is ended first
};

} // namespace wendle
