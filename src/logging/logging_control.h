#pragma once

#include "logging/clock.h"
#include "logging/file_numbers.h"
#include "logging/held_lines.h"
#include "logging/log_store.h"
#include "logging/pause_state.h"
#include "logging/timer.h"
#include "logging/writer_thread.h"

#include <functional>
#include <string>
#include <vector>

namespace wendle {

// Start, Stop, the timer's ticks and "Show Recent Log", without any widget:
// the window feeds it the folder and the interval and shows what it reports.
// The clock is read and the ticks scheduled on the window's thread; the
// files are written and read by the writer (see WriterThread).
class LoggingControl {
public:
    static constexpr std::size_t RecentLogChars = LogWriter::RecentLogChars;
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
        // Logging paused (the reason) or went on again (None), with a line
        // for the log view (none when Stop ends a pause); told with the
        // reason unchanged too, when only the line is new (a sleep found
        // out afterwards).
        std::function<void(PauseReason reason, const std::string &note)> paused;
    };

    // Lines held by an earlier run in the spool are taken over first. With
    // postToWindow, the files are written on a thread of their own and what
    // the listener is told comes through it; without, at once on the
    // caller's thread.
    LoggingControl(const Clock &clock, Timer &timer, LogStore &store = systemLogStore(),
                   const std::string &spoolPath = heldLinesPath(), PostToWindow postToWindow = {});
    LoggingControl(const LoggingControl &) = delete;
    LoggingControl &operator=(const LoggingControl &) = delete;

    void setListener(Listener listener) { m_listener = std::move(listener); }

    // The number of the open log file; 0 when not logging.
    int logFileNumber() const { return m_logFileNumber; }
    bool isLogging() const { return m_logFileNumber != 0; }
    // The file today's lines go to, while logging.
    std::string openLogPath() const;
    // Only while the writer is idle.
    const HeldLines &heldLines() const { return m_writer.heldLines(); }

    // The folder the next line goes to. Lines held for the folder before stay
    // held for it, without keeping up the notice that lines are held.
    void setFolder(const std::string &folder) { m_folder = folder; }
    const std::string &folder() const { return m_folder; }

    Timer &timer() { return m_timer; }
    const Clock &clock() const { return m_clock; }

    void start();
    void stop();
    void tick();
    void showRecentLog();
    void setIntervalSeconds(int seconds);
    // Has the spool written if it lacks held lines (Stop does it too): for Exit.
    void keepHeld();
    // Waits a bounded time for the writer, then holds what it has not
    // written in the spool: for a session that ends.
    void finish() { m_writer.finish(); }

    // The delay the next tick was set for, from the moment it was set.
    int nextTickDelay() const { return m_nextDelay; }

    // "Pause While Locked": while on, no line is written while the session
    // is locked, switched away or asleep; logging stays on, and goes on by
    // itself one interval after the session is back. Off, what the sources
    // say changes nothing.
    void setPauseWhileLocked(bool on);
    bool pausesWhileLocked() const { return m_pauseWhileLocked; }
    // What a source says, whether logging or not.
    void pauseSource(PauseSource source, bool on);
    // Why no line is being written while logging is on; None otherwise.
    PauseReason pauseReason() const { return m_paused; }
    // The log view's lines about pauses on that day, each ended by a line feed.
    std::string pauseNotes(const LocalDate &date) const;

private:
    void scheduleNextTick(const ClockReading &now);
    // The first line one interval after now, as after Start.
    void goOnFrom(const ClockReading &now);
    void write(const LocalDate &date, std::int64_t at, const std::string &line);
    void failAndStop(const std::string &message);
    void report(const std::string &message) const;
    WriterEvents writerEvents();
    // Pauses or goes on as the sources, the setting and logging now say.
    void followPause(const ClockReading &now);
    void note(const LocalDate &date, const std::string &text);

    const Clock &m_clock;
    Timer &m_timer;
    Listener m_listener;
    FileNumbers m_numbers;
    std::string m_folder;
    int m_logFileNumber = 0;
    // Wall-clock milliseconds: when logging started, the start of the second
    // of the last tick (0 before the first), and the last delay asked for.
    std::int64_t m_startedAt = 0;
    std::int64_t m_lastTickSecond = 0;
    int m_nextDelay = 0;
    // The clock when the next tick was set, for a sleep nobody announced.
    ClockReading m_scheduledAt;
    PauseState m_sources;
    bool m_pauseWhileLocked = false;
    PauseReason m_paused = PauseReason::None;
    // Lines are held for the folder: while paused, they are still tried.
    bool m_holding = false;
    struct PauseNote {
        LocalDate date;
        std::string text;
    };
    std::vector<PauseNote> m_notes;
    // Last, so that it is gone before what its events call.
    WriterThread m_writer;
};

} // namespace wendle
