#pragma once

#include "logging/local_time.h"
#include "logging/log_store.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace wendle {

// Lines that could not be written yet, oldest first, each with the folder and
// the date whose file it belongs in. They are kept in memory and in a file of
// the user's own (the spool), synced record by record, so that a crash or a
// power cut during an outage loses none of them. A line leaves memory only
// once it is in its day's file, or in the synced spool.
//
// One running copy owns the spool at a time (a lock beside it, which the
// system releases when the copy ends however it ends); a copy that cannot
// own it holds its lines in memory only and takes the spool over, with every
// line in it, as soon as the owner has gone.
class HeldLines {
public:
    // Eight days of lines at one a second, for each folder.
    static constexpr std::size_t MaxLines = 8 * 24 * 3600;

    // An empty spool path: there is no folder of the user's own to keep held
    // lines in, so they are held in memory only.
    HeldLines(LogStore &store, std::string spoolPath);
    ~HeldLines();
    HeldLines(const HeldLines &) = delete;
    HeldLines &operator=(const HeldLines &) = delete;

    // Takes over what an earlier run left in the spool.
    void load();

    bool empty() const { return m_lines.empty(); }
    std::size_t size() const { return m_lines.size(); }
    std::size_t heldFor(const std::string &folder) const;
    bool holdsFor(const std::string &folder) const { return heldFor(folder) > 0; }
    bool fullFor(const std::string &folder) const { return heldFor(folder) >= MaxLines; }
    // The folders other than this one that lines wait for, with their counts.
    std::vector<std::pair<std::string, std::size_t>>
    waitingOtherThan(const std::string &folder) const;
    const std::string &spoolPath() const { return m_spoolPath; }
    // Whether this copy owns the spool (once it does, until it ends).
    bool owner() const { return m_owner; }
    // Where records that could not be read are set aside.
    std::string setAsidePath() const { return m_spoolPath + ".unreadable"; }
    // What loading found that the user must be told (records set aside);
    // empty when nothing, and empty after it has been taken once.
    std::string takeLoadReport();

    // Adds a line (with its CR LF). False, with the reason, when only memory
    // holds it because the spool cannot be written.
    bool hold(const std::string &folder, const LocalDate &date, const std::string &line,
              std::string &error);
    // Whether a line held now would go into the spool; false, with the
    // reason, when it would be held in memory only.
    bool ready(std::string &error);
    // Writes the spool when it lacks lines memory holds, or takes it over
    // when its owner has gone. True when the spool holds every line.
    bool save(std::string &error);

    enum class Which { Only, AllBut };
    struct Flushed {
        std::size_t written = 0;
        std::vector<std::pair<std::string, std::size_t>> writtenTo; // per folder
        std::string failedPath; // the first file that still refuses its lines
        std::string error;
    };
    // Writes the held lines of this folder (Only) or of every other one
    // (AllBut) into their days' files, in order. Lines for a folder that
    // refuses them keep waiting, with every later line of it.
    Flushed flush(const std::string &folder, Which which);

private:
    struct Line {
        std::uint32_t folder;
        LocalDate date;
        std::string text;
    };
    struct Intent {
        std::uint32_t folder = UINT32_MAX;
        LocalDate date;
        std::uint64_t size = 0;
        bool operator==(const Intent &) const = default;
    };
    std::uint32_t folderIndex(const std::string &folder);
    std::string lockPath() const { return m_spoolPath + ".lock"; }
    bool own(std::string &error);
    void takeOver();
    std::vector<Line> resolveIntents(std::vector<Line> loaded, const std::vector<Intent> &intents);
    bool rewriteSpool(std::string &error);
    void forget(const std::vector<std::pair<std::size_t, std::size_t>> &done);

    LogStore &m_store;
    std::string m_spoolPath;
    std::deque<Line> m_lines;
    std::vector<std::string> m_folders;
    std::vector<std::size_t> m_perFolder; // held lines of each folder
    // Read by the end of the program while a stuck writer may still own it.
    std::atomic<bool> m_owner{false};
    std::string m_notOwnerReason;
    // The spool on disk: whether it has its header, which folders it names,
    // and the last intent it holds, so that only what changed is written.
    bool m_spoolStarted = false;
    std::vector<bool> m_spoolNames;
    Intent m_lastIntent;
    // The spool lacks lines that memory holds; it is written anew when it can be.
    bool m_spoolBehind = false;
    std::size_t m_setAside = 0;
    std::string m_setAsideError;
};

// Where held lines wait: $XDG_STATE_HOME/wendle/ (~/.local/state/wendle/),
// on Windows %LOCALAPPDATA%\Wendle\. Empty when the user has no such folder
// of their own (HOME or LOCALAPPDATA not set).
std::string heldLinesPath();

} // namespace wendle
