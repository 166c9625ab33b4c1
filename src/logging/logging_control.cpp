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

// The first moment at or after `at` that lies in the middle of a second.
std::int64_t middleOfSecondFrom(std::int64_t at) {
    const std::int64_t second = at - (at % 1000 + 1000) % 1000;
    return second + Phase >= at ? second + Phase : second + 1000 + Phase;
}

} // namespace

LoggingControl::LoggingControl(const Clock &clock, Timer &timer) : m_clock(clock), m_timer(timer) {
    m_timer.setInterval(DefaultIntervalMs);
    m_timer.onTimeout([this] { tick(); });
}

void LoggingControl::report(const std::string &message) const {
    if (m_listener.failed)
        m_listener.failed(message);
}

bool LoggingControl::openToday(const LocalDate &date, std::string &message) {
    const std::string path = dailyLogPath(m_folder, date);
    std::string reason;
    if (!m_file.open(path, reason)) {
        message = "Could not open the log file\n" + path + "\nfor writing: " + reason +
                  "\n\nLogging is off.";
        return false;
    }
    m_fileDate = date;
    return true;
}

void LoggingControl::failAndStop(const std::string &message) {
    stop();
    report(message);
}

void LoggingControl::start() {
    if (isLogging())
        return;
    m_logFileNumber = m_numbers.acquire();
    std::string message;
    if (!openToday(m_clock.now().date, message)) {
        failAndStop(message);
        return;
    }
    // No line now: the first one comes with the first tick, at least an
    // interval later.
    m_startedAt = m_clock.epochMilliseconds();
    m_lastTickSecond = 0;
    scheduleNextTick();
    if (m_listener.loggingChanged)
        m_listener.loggingChanged(true);
}

void LoggingControl::stop() {
    m_file.close();
    if (m_logFileNumber != 0)
        m_numbers.release(m_logFileNumber);
    m_logFileNumber = 0;
    m_timer.stop();
    if (m_listener.loggingChanged)
        m_listener.loggingChanged(false);
}

void LoggingControl::scheduleNextTick() {
    const std::int64_t now = m_clock.epochMilliseconds();
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
    // One reading of the clock decides both the file and the line, so a line
    // is always filed under the date it shows.
    const LocalDateTime now = m_clock.now();
    const std::int64_t at = m_clock.epochMilliseconds();
    m_lastTickSecond = at - (at % 1000 + 1000) % 1000;
    if (now.date != m_fileDate) {
        m_file.close();
        std::string message;
        if (!openToday(now.date, message)) {
            failAndStop(message);
            return;
        }
    }
    std::string reason;
    if (!m_file.append(timeLine(now.time), reason)) {
        failAndStop("Could not write to the log file\n" + m_file.path() + "\n" + reason +
                    "\n\nLogging has stopped.");
        return;
    }
    scheduleNextTick();
}

void LoggingControl::showRecentLog() {
    const bool resume = isLogging();
    if (resume) {
        // Closed so that everything written so far is read back; the number
        // stays set as the sign that logging resumes below.
        m_file.close();
        m_numbers.release(m_logFileNumber);
    }

    const int readNumber = m_numbers.acquire();
    const std::string path = dailyLogPath(m_folder, m_clock.now().date);
    const LogTail tail = readLogTail(path, RecentLogChars);
    m_numbers.release(readNumber);

    std::string readFailure;
    if (tail.status == LogTail::Status::Failed)
        readFailure = "Could not read the log file\n" + path + "\n" + tail.error;
    // Nothing logged yet today reads as an empty log.
    if (m_listener.recentLogRead)
        m_listener.recentLogRead(tail.text);

    if (resume) {
        m_logFileNumber = m_numbers.acquire();
        std::string message;
        if (!openToday(m_clock.now().date, message)) {
            failAndStop(message);
            return;
        }
    }
    if (!readFailure.empty())
        report(readFailure);
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
        scheduleNextTick();
}

} // namespace wendle
