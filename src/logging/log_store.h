#pragma once

#include <optional>
#include <string>

namespace wendle {

// The files the logging control writes: the daily logs and its own file of
// lines it is holding. Nothing is kept open between calls, so a file that is
// deleted, replaced or moved between two ticks is followed by the next one,
// and the medium can be unmounted while logging goes on. Tests give a fake.
class LogStore {
public:
    virtual ~LogStore() = default;
    // Opens (creating the file, and with makeFolder its folders), writes all
    // of bytes in one piece, syncs and closes. Whole or nothing: on failure
    // no part of bytes stays in the file, and error holds the system's reason.
    virtual bool append(const std::string &path, const std::string &bytes, bool makeFolder,
                        std::string &error) = 0;
    // The whole file, or nothing when it is missing or unreadable.
    virtual std::optional<std::string> read(const std::string &path) = 0;
    // Puts bytes in the file's place at once (written and synced aside, then
    // renamed over it); empty bytes remove the file.
    virtual bool replace(const std::string &path, const std::string &bytes, std::string &error) = 0;
};

// The system's files.
LogStore &systemLogStore();

} // namespace wendle
