#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace wendle {

// The files the logging control writes: the daily logs and its own files
// (the spool of lines it is holding, and what lies beside it). Nothing is
// kept open between calls, so a file that is deleted, replaced or moved
// between two ticks is followed by the next one, and the medium can be
// unmounted while logging goes on. Tests give a fake.
class LogStore {
public:
    virtual ~LogStore() = default;
    // Opens (creating the file), writes all of bytes in one piece, syncs and
    // closes. A day's file (own false) may lie in a folder others share: a
    // symbolic link in its place is refused as not a regular file, and a
    // file renamed over or deleted while it was written gets bytes again in
    // the file now under the name. The program's own files (own true) lie in
    // a folder of the user's own, made when missing: one that other users
    // can write is refused. Whole or nothing as far as other writers of the
    // file allow; error holds the system's reason.
    virtual bool append(const std::string &path, const std::string &bytes, bool own,
                        std::string &error) = 0;
    // The whole file, or nothing when it is missing or unreadable.
    virtual std::optional<std::string> read(const std::string &path) = 0;
    // The file's size in bytes, or nothing when it is missing.
    virtual std::optional<std::uint64_t> size(const std::string &path) = 0;
    // Puts bytes in the place of one of the program's own files at once
    // (written and synced aside, then renamed over it, the folder synced);
    // empty bytes remove the file.
    virtual bool replace(const std::string &path, const std::string &bytes, std::string &error) = 0;
    // Takes the lock on one of the program's own files, kept until unlock()
    // or the end of the process; false, with the reason, when another holds it.
    virtual bool lock(const std::string &path, std::string &error) = 0;
    virtual void unlock(const std::string &path) = 0;
};

// The system's files.
LogStore &systemLogStore();

} // namespace wendle
