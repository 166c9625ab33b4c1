#include "logging/logging_control.h"

#include "logging/log_paths.h"
#include "logging/log_tail.h"
#include "logging/time_line.h"

#include <algorithm>
#include <limits>

namespace wendle {

namespace {

// Ticks are set for the middle of a wall-clock second: the ordinary lateness
// of a tick then never carries its line into the next second, whatever the
// phase of the moment Start was pressed.
constexpr std::int64_t Phase = 500;

constexpr std::int64_t OtherFoldersRetryMs = 60000;

// The first moment at or after `at` that lies in the middle of a second.
std::int64_t middleOfSecondFrom(std::int64_t at) {
    const std::int64_t second = at - (at % 1000 + 1000) % 1000;
    return second + Phase >= at ? second + Phase : second + 1000 + Phase;
}

} // namespace

LoggingControl::LoggingControl(const Clock &clock, Timer &timer, LogStore &store,
                               const std::string &spoolPath)
    : m_clock(clock), m_timer(timer), m_store(store), m_held(store, spoolPath) {
    m_timer.setInterval(DefaultIntervalMs);
    m_timer.onTimeout([this] { tick(); });
    m_held.load();
}

void LoggingControl::report(const std::string &message) const {
    if (m_listener.failed)
        m_listener.failed(message);
}

void LoggingControl::notify(bool trouble, const std::string &text) const {
    if (m_listener.noticed)
        m_listener.noticed({trouble, text});
}

void LoggingControl::failAndStop(const std::string &message) {
    stop();
    report(message);
}

void LoggingControl::setFolder(const std::string &folder) {
    if (folder == m_folder)
        return;
    const std::string left = m_folder;
    m_folder = folder;
    m_writtenSinceTrouble = 0;
    if (m_trouble) {
        m_trouble = false;
        notify(false, "Lines held for " + left + " wait for it and are written to it when it " +
                          "takes them again." + othersWaitingText());
    }
}

HeldLines::Flushed LoggingControl::flushCurrent() {
    if (!m_held.holdsFor(m_folder))
        return {};
    HeldLines::Flushed flushed = m_held.flush(m_folder, HeldLines::Which::Only);
    m_writtenSinceTrouble += flushed.written;
    return flushed;
}

std::string LoggingControl::othersWaitingText() const {
    std::string text;
    for (const auto &[folder, count] : m_held.waitingOtherThan(m_folder))
        text += "\n" + std::to_string(count) + (count == 1 ? " line waits" : " lines wait") +
                " for " + folder;
    return text.empty() ? text : "\n\nHeld for folders used before:" + text;
}

// Lines held for a folder left behind never delay the current one's: they
// are tried after its line, and no more often than this, since that folder
// may be a share that takes long to answer.
void LoggingControl::retryOtherFolders(std::int64_t now) {
    if (m_held.waitingOtherThan(m_folder).empty())
        return;
    if (m_triedOthers && now >= m_othersTriedAt && now - m_othersTriedAt < OtherFoldersRetryMs)
        return;
    m_triedOthers = true;
    m_othersTriedAt = now;
    const HeldLines::Flushed flushed = m_held.flush(m_folder, HeldLines::Which::AllBut);
    for (const auto &[folder, count] : flushed.writtenTo)
        notify(m_trouble, "A folder used before takes lines again: " + std::to_string(count) +
                              (count == 1 ? " held line was" : " held lines were") +
                              " written to\n" + folder + othersWaitingText());
}

// Also when lines an earlier run held are written by this one.
void LoggingControl::noteRecovery() {
    if ((!m_trouble && m_writtenSinceTrouble == 0) || m_held.holdsFor(m_folder))
        return;
    const std::size_t written = m_writtenSinceTrouble;
    m_trouble = false;
    m_writtenSinceTrouble = 0;
    notify(false, "The log folder takes lines again: " + std::to_string(written) +
                      (written == 1 ? " held line was" : " held lines were") + " written to\n" +
                      m_folder + othersWaitingText());
}

// Each line goes into the file that today's path names at this moment, after
// every line still held for the folder; a line that cannot be written is held.
bool LoggingControl::writeLine(const LocalDate &date, std::int64_t now, const std::string &line) {
    const HeldLines::Flushed flushed = flushCurrent();
    std::string path = dailyLogPath(m_folder, date);
    std::string reason;
    bool written = false;
    if (m_held.holdsFor(m_folder)) {
        // The folder's oldest held line was just refused: that says why.
        path = flushed.failedPath;
        reason = flushed.error;
    } else {
        written = m_store.append(path, line, false, reason);
    }
    if (written)
        noteRecovery();
    else if (!holdLine(date, line, path, reason))
        return false;
    retryOtherFolders(now);
    return written;
}

// False when no more can be held, and logging has stopped.
bool LoggingControl::holdLine(const LocalDate &date, const std::string &line,
                              const std::string &path, const std::string &reason) {
    if (!line.empty() && m_held.fullFor(m_folder)) {
        failAndStop("Could not write to the log file\n" + path + "\n" + reason + "\n\n" +
                    std::to_string(m_held.heldFor(m_folder)) + " lines are held in\n" +
                    m_held.spoolPath() +
                    "\nand no more can be held, so logging has stopped. They are written "
                    "when logging starts again and the folder takes them.");
        return false;
    }
    // At Start there is no line yet, only the question where lines will go.
    std::string where = " in\n" + m_held.spoolPath();
    std::string spoolError;
    if (!(line.empty() ? m_held.ready(spoolError) : m_held.hold(m_folder, date, line, spoolError)))
        where = m_held.spoolPath().empty() ? " in memory only, as " + spoolError
                                           : " in memory only, as\n" + m_held.spoolPath() +
                                                 "\ncannot be written: " + spoolError;
    if (!m_trouble) {
        m_trouble = true;
        notify(true, "Could not write to the log file\n" + path + "\n" + reason +
                         "\n\nLogging goes on: lines are held" + where +
                         "\nand written as soon as the folder takes them again." +
                         othersWaitingText());
    }
    return true;
}

void LoggingControl::keepHeld() {
    std::string ignored;
    m_held.save(ignored);
}

void LoggingControl::start() {
    if (isLogging())
        return;
    m_logFileNumber = m_numbers.acquire();
    // Nothing waiting can mend a folder that was never chosen.
    if (m_folder.empty()) {
        failAndStop("No folder is chosen for the log files.\n\nLogging is off.");
        return;
    }
    // No line now: the first one comes with the first tick, at least an
    // interval later.
    const ClockReading now = m_clock.read();
    m_startedAt = now.epochMilliseconds;
    m_lastTickSecond = 0;
    scheduleNextTick(now.epochMilliseconds);
    if (m_listener.loggingChanged)
        m_listener.loggingChanged(true);
    // Today's file is made now, or the user is told at once that it cannot
    // be; lines an earlier run held go first.
    writeLine(now.local.date, now.epochMilliseconds, std::string());
    if (const std::string loaded = m_held.takeLoadReport(); !loaded.empty())
        report(loaded);
}

void LoggingControl::stop() {
    // A folder that came back since the last tick takes its lines now.
    flushCurrent();
    noteRecovery();
    retryOtherFolders(m_clock.epochMilliseconds());
    keepHeld();
    if (m_logFileNumber != 0)
        m_numbers.release(m_logFileNumber);
    m_logFileNumber = 0;
    m_timer.stop();
    if (m_listener.loggingChanged)
        m_listener.loggingChanged(false);
}

void LoggingControl::scheduleNextTick(std::int64_t now) {
    // One interval after the second of the last tick (or after Start); never
    // in the past, so that a clock set forward does not bring a burst.
    const std::int64_t from = m_lastTickSecond != 0 ? m_lastTickSecond + m_timer.interval()
                                                    : m_startedAt + m_timer.interval();
    const std::int64_t next = middleOfSecondFrom(std::max(from, now));
    // A clock set back by more than an interval starts the schedule afresh.
    const std::int64_t delay = std::min<std::int64_t>(next - now, m_timer.interval() + 1000);
    m_nextDelay = static_cast<int>(delay);
    m_timer.startIn(m_nextDelay);
}

void LoggingControl::tick() {
    if (!isLogging())
        return;
    // One reading of the clock decides the file, the line and the next tick,
    // so a line is always filed under the date it shows and no second is
    // skipped at a second's edge.
    const ClockReading now = m_clock.read();
    m_lastTickSecond = now.epochMilliseconds - (now.epochMilliseconds % 1000 + 1000) % 1000;
    writeLine(now.local.date, now.epochMilliseconds, timeLine(now.local.time));
    if (isLogging())
        scheduleNextTick(now.epochMilliseconds);
}

std::string LoggingControl::openLogPath() const {
    return isLogging() ? dailyLogPath(m_folder, m_clock.now().date) : std::string();
}

void LoggingControl::showRecentLog() {
    // Every line written so far is on disk already: no file is held open.
    const int readNumber = m_numbers.acquire();
    const std::string path = dailyLogPath(m_folder, m_clock.now().date);
    const LogTail tail = readLogTail(path, RecentLogChars);
    m_numbers.release(readNumber);

    // Nothing logged yet today reads as an empty log.
    if (m_listener.recentLogRead)
        m_listener.recentLogRead(tail.text);
    if (tail.status == LogTail::Status::Failed)
        report("Could not read the log file\n" + path + "\n" + tail.error);
}

void LoggingControl::setIntervalSeconds(int seconds) {
    if (seconds <= 0 || seconds > std::numeric_limits<int>::max() / 1000)
        return;
    const int interval = seconds * 1000;
    // The slider reports the same value more than once while it is dragged.
    if (interval == m_timer.interval())
        return;
    m_timer.setInterval(interval);
    // Takes effect at once: the next tick comes one new interval after the
    // last line (or Start), or at once when that is past.
    if (isLogging())
        scheduleNextTick(m_clock.epochMilliseconds());
}

} // namespace wendle
