#pragma once

#include "logging/local_time.h"
#include "logging/log_store.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace wendle {

// Lines that could not be written yet, oldest first, each with the folder and
// the date whose file it belongs in. They are kept in memory and in a file of
// the user's own (the spool), synced line by line, so that a crash or a power
// cut during an outage loses none of them.
class HeldLines {
public:
    // Eight days of lines at one a second.
    static constexpr std::size_t MaxLines = 8 * 24 * 3600;

    HeldLines(LogStore &store, std::string spoolPath);

    // Takes over what an earlier run left in the spool.
    void load();

    bool empty() const { return m_lines.empty(); }
    std::size_t size() const { return m_lines.size(); }
    bool full() const { return m_lines.size() >= MaxLines; }
    // Whether lines for this folder wait: a new line must then wait behind them.
    bool holdsFor(const std::string &folder) const;
    const std::string &spoolPath() const { return m_spoolPath; }

    // Adds a line (with its CR LF). False, with the reason, when only memory
    // holds it because the spool cannot be written.
    bool hold(const std::string &folder, const LocalDate &date, const std::string &line,
              std::string &error);

    struct Flushed {
        std::size_t written = 0;
        std::string failedPath; // the first file that still refuses its lines
        std::string error;
    };
    // Writes the held lines into their days' files, in order. Lines for a
    // folder that refuses them keep waiting, with every later line of it.
    Flushed flush();

private:
    struct Line {
        std::uint32_t folder;
        LocalDate date;
        std::string text;
    };
    std::uint32_t folderIndex(const std::string &folder);
    std::string spoolText(std::size_t from) const;
    std::string record(const Line &line);
    bool rewriteSpool(std::string &error);

    LogStore &m_store;
    std::string m_spoolPath;
    std::deque<Line> m_lines;
    std::vector<std::string> m_folders;
    std::vector<std::size_t> m_perFolder; // held lines of each folder
    // What the spool's last lines set, so that only changes are written.
    std::uint32_t m_spoolFolder = UINT32_MAX;
    LocalDate m_spoolDate{0, 0, 0};
    // The spool lacks lines that memory holds; it is written anew when it can be.
    bool m_spoolBehind = false;
    std::size_t m_holdsSinceRewrite = 0;
};

// Where held lines wait: $XDG_STATE_HOME/wendle/ (~/.local/state/wendle/),
// on Windows %LOCALAPPDATA%\Wendle\.
std::string heldLinesPath();

} // namespace wendle
