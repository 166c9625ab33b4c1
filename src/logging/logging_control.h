#pragma once

#include "logging/clock.h"
#include "logging/file_numbers.h"
#include "logging/held_lines.h"
#include "logging/log_store.h"
#include "logging/timer.h"

#include <functional>
#include <string>

namespace wendle {

// Told without waiting for the user: lines started to be held (trouble), or
// every held line has been written (trouble over).
struct LoggingNotice {
    bool trouble = false;
    std::string text;
};

// Start, Stop, the timer's ticks and "Show Recent Log", without any widget:
// the window feeds it the folder and the interval and shows what it reports.
class LoggingControl {
public:
    static constexpr std::size_t RecentLogChars = 32000;
    static constexpr int DefaultIntervalMs = 10000;

    // What the window is told. Any of them may be left empty.
    struct Listener {
        // The window switches between its idle and logging looks on this.
        std::function<void(bool logging)> loggingChanged;
        // The tail of today's log in UTF-8, empty when there is no file for today yet.
        std::function<void(const std::string &text)> recentLogRead;
        // Something the user must be told; logging has been stopped if it failed.
        std::function<void(const std::string &message)> failed;
        // Told once when lines cannot be written and are held, and once when
        // they have been written; logging goes on meanwhile.
        std::function<void(const LoggingNotice &notice)> noticed;
    };

    // Lines held by an earlier run in the spool are taken over at once.
    LoggingControl(const Clock &clock, Timer &timer, LogStore &store = systemLogStore(),
                   const std::string &spoolPath = heldLinesPath());
    LoggingControl(const LoggingControl &) = delete;
    LoggingControl &operator=(const LoggingControl &) = delete;

    void setListener(Listener listener) { m_listener = std::move(listener); }

    // The number of the open log file; 0 when not logging.
    int logFileNumber() const { return m_logFileNumber; }
    bool isLogging() const { return m_logFileNumber != 0; }
    // The file today's lines go to, while logging.
    std::string openLogPath() const;
    const HeldLines &heldLines() const { return m_held; }

    // The folder the next line goes to. Lines held for the folder before stay
    // held for it, without keeping up the notice that lines are held.
    void setFolder(const std::string &folder);
    const std::string &folder() const { return m_folder; }

    Timer &timer() { return m_timer; }

    void start();
    void stop();
    void tick();
    void showRecentLog();
    void setIntervalSeconds(int seconds);
    // Writes the spool if it lacks held lines (Stop does it too): for Exit.
    void keepHeld();

    // The delay the next tick was set for, from the moment it was set.
    int nextTickDelay() const { return m_nextDelay; }

private:
    void scheduleNextTick(std::int64_t now);
    bool writeLine(const LocalDate &date, std::int64_t now, const std::string &line);
    bool holdLine(const LocalDate &date, const std::string &line, const std::string &path,
                  const std::string &reason);
    HeldLines::Flushed flushCurrent();
    void retryOtherFolders(std::int64_t now);
    std::string othersWaitingText() const;
    void noteRecovery();
    void failAndStop(const std::string &message);
    void report(const std::string &message) const;
    void notify(bool trouble, const std::string &text) const;

    const Clock &m_clock;
    Timer &m_timer;
    LogStore &m_store;
    HeldLines m_held;
    Listener m_listener;
    FileNumbers m_numbers;
    std::string m_folder;
    int m_logFileNumber = 0;
    // Between the notice that lines are held and the one that they are written.
    // Both are about the current folder only.
    bool m_trouble = false;
    std::size_t m_writtenSinceTrouble = 0;
    // When lines held for other folders were last tried (wall-clock ms).
    bool m_triedOthers = false;
    std::int64_t m_othersTriedAt = 0;
    // Wall-clock milliseconds: when logging started, the start of the second
    // of the last tick (0 before the first), and the last delay asked for.
    std::int64_t m_startedAt = 0;
    std::int64_t m_lastTickSecond = 0;
    int m_nextDelay = 0;
};

} // namespace wendle
