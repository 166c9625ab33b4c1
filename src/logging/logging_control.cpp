#include "logging/logging_control.h"

#include "logging/log_paths.h"
#include "logging/time_line.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <utility>

namespace wendle {

namespace {

// Ticks are set for the middle of a wall-clock second: the ordinary lateness
// of a tick then never carries its line into the next second, whatever the
// phase of the moment Start was pressed.
constexpr std::int64_t Phase = 500;

// The first moment at or after `at` that lies in the middle of a second.
std::int64_t middleOfSecondFrom(std::int64_t at) {
    const std::int64_t second = at - (at % 1000 + 1000) % 1000;
    return second + Phase >= at ? second + Phase : second + 1000 + Phase;
}

// The log view's times; its notes are the program's, not lines of the file.
std::string clockText(const LocalTime &time) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", time.hour % 100, time.minute % 100,
                  time.second % 100);
    return text;
}

const char *whileText(PauseReason reason) {
    switch (reason) {
    case PauseReason::Locked:
        return "the screen is locked";
    case PauseReason::SwitchedAway:
        return "the session is switched away";
    case PauseReason::Asleep:
        return "the computer is asleep";
    case PauseReason::None:
        break;
    }
    return "";
}

// Enough for a day of locks; the oldest go first.
constexpr std::size_t MaxNotes = 200;

} // namespace

LoggingControl::LoggingControl(const Clock &clock, Timer &timer, LogStore &store,
                               const std::string &spoolPath, PostToWindow postToWindow)
    : m_clock(clock), m_timer(timer),
      m_writer(store, spoolPath, writerEvents(), std::move(postToWindow)) {
    m_timer.setInterval(DefaultIntervalMs);
    m_timer.onTimeout([this] { tick(); });
}

WriterEvents LoggingControl::writerEvents() {
    return {
        [this](const LoggingNotice &notice) {
            m_holding = notice.trouble;
            // The writer may find the folder gone only after the pause began
            // (its last line, or Start's look): the tries start now.
            if (m_holding && m_paused != PauseReason::None && !m_timer.isActive())
                m_timer.startIn(m_timer.interval());
            if (m_listener.noticed)
                m_listener.noticed(notice);
        },
        [this](const std::string &message) { failAndStop(message); },
        [this](const std::string &text) {
            if (m_listener.recentLogRead)
                m_listener.recentLogRead(text);
        },
        [this](const std::string &message) { report(message); },
    };
}

void LoggingControl::report(const std::string &message) const {
    if (m_listener.failed)
        m_listener.failed(message);
}

void LoggingControl::failAndStop(const std::string &message) {
    stop();
    report(message);
}

// The line goes to the writer with the folder it is for; while the writer
// waits for a disk that does not answer, the lines wait behind it in order.
void LoggingControl::write(const LocalDate &date, std::int64_t at, const std::string &line) {
    if (m_writer.postLine({LogJob::Kind::Line, m_folder, date, line, at}))
        return;
    failAndStop("The log folder\n" + m_folder +
                "\ndoes not answer: " + std::to_string(WriterThread::MaxWaiting) +
                " lines wait for it, and no more can wait, so logging has stopped. They are "
                "written as soon as the folder answers, or held in\n" +
                m_writer.spoolPath() + "\nwhen Wendle ends before that.");
}

void LoggingControl::keepHeld() {
    m_writer.post({LogJob::Kind::Keep, m_folder, {}, {}, m_clock.epochMilliseconds()});
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
    goOnFrom(now);
    if (m_listener.loggingChanged)
        m_listener.loggingChanged(true);
    // Today's file is made now, or the user is told at once that it cannot
    // be; lines an earlier run held go first.
    write(now.local.date, now.epochMilliseconds, std::string());
    // Started while the session is locked (at login, say): paused at once.
    if (isLogging())
        followPause(now);
}

void LoggingControl::stop() {
    // A folder that came back since the last tick takes its lines now.
    m_writer.post({LogJob::Kind::Flush, m_folder, {}, {}, m_clock.epochMilliseconds()});
    if (m_logFileNumber != 0)
        m_numbers.release(m_logFileNumber);
    m_logFileNumber = 0;
    m_timer.stop();
    // Stopped, nothing is paused; the stretch ended at the pause.
    if (std::exchange(m_paused, PauseReason::None) != PauseReason::None && m_listener.paused)
        m_listener.paused(PauseReason::None, std::string());
    if (m_listener.loggingChanged)
        m_listener.loggingChanged(false);
}

void LoggingControl::goOnFrom(const ClockReading &now) {
    m_startedAt = now.epochMilliseconds;
    m_lastTickSecond = 0;
    scheduleNextTick(now);
}

void LoggingControl::scheduleNextTick(const ClockReading &reading) {
    m_scheduledAt = reading;
    const std::int64_t now = reading.epochMilliseconds;
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
    if (m_paused != PauseReason::None) {
        // No line; lines held for the folder are still tried, so that they
        // are written when it comes back, locked or not.
        if (m_holding) {
            m_writer.post({LogJob::Kind::Flush, m_folder, {}, {}, now.epochMilliseconds});
            if (m_holding)
                m_timer.startIn(m_timer.interval());
        }
        return;
    }
    if (m_pauseWhileLocked && sleptUnannounced(m_scheduledAt, now, m_timer.interval())) {
        // The computer slept without a word: this tick is late, its moment
        // was in the sleep. As if paused then and going on now.
        note(now.local.date, "Logging paused from " + clockText(m_scheduledAt.local.time) + " to " +
                                 clockText(now.local.time) + ": the computer was asleep.");
        goOnFrom(now);
        return;
    }
    m_lastTickSecond = now.epochMilliseconds - (now.epochMilliseconds % 1000 + 1000) % 1000;
    write(now.local.date, now.epochMilliseconds, timeLine(now.local.time));
    if (isLogging())
        scheduleNextTick(now);
}

void LoggingControl::setPauseWhileLocked(bool on) {
    m_pauseWhileLocked = on;
    followPause(m_clock.read());
}

void LoggingControl::pauseSource(PauseSource source, bool on) {
    m_sources.set(source, on);
    followPause(m_clock.read());
}

void LoggingControl::followPause(const ClockReading &now) {
    const PauseReason wanted =
        isLogging() && m_pauseWhileLocked ? m_sources.reason() : PauseReason::None;
    if (wanted == m_paused)
        return;
    const PauseReason was = std::exchange(m_paused, wanted);
    const std::string at = clockText(now.local.time);
    if (was == PauseReason::None) {
        // A tick due now is not written: it would be a moment of the lock.
        m_timer.stop();
        // A folder that came back since the last tick takes its lines now.
        m_writer.post({LogJob::Kind::Flush, m_folder, {}, {}, now.epochMilliseconds});
        if (m_holding)
            m_timer.startIn(m_timer.interval());
        note(now.local.date, "Logging paused at " + at + ": " + whileText(wanted) + ".");
    } else if (wanted == PauseReason::None) {
        goOnFrom(now);
        note(now.local.date, "Logging went on at " + at + ".");
    } else {
        note(now.local.date, "Still paused at " + at + ": " + whileText(wanted) + ".");
    }
}

void LoggingControl::note(const LocalDate &date, const std::string &text) {
    if (m_notes.size() >= MaxNotes)
        m_notes.erase(m_notes.begin());
    m_notes.push_back({date, text});
    if (m_listener.paused)
        m_listener.paused(m_paused, text);
}

std::string LoggingControl::pauseNotes(const LocalDate &date) const {
    std::string text;
    for (const PauseNote &note : m_notes)
        if (note.date == date)
            text += note.text + "\n";
    return text;
}

std::string LoggingControl::openLogPath() const {
    return isLogging() ? dailyLogPath(m_folder, m_clock.now().date) : std::string();
}

void LoggingControl::showRecentLog() {
    // Read by the writer after the lines given to it so far; the window is
    // told when it has been read.
    const int readNumber = m_numbers.acquire();
    m_writer.post({LogJob::Kind::ReadRecent, m_folder, m_clock.now().date, {}});
    m_numbers.release(readNumber);
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
    if (isLogging() && m_paused == PauseReason::None)
        scheduleNextTick(m_clock.read());
}

} // namespace wendle
