#include "logging/logging_control.h"

#include "logging/log_paths.h"
#include "logging/log_tail.h"
#include "logging/time_line.h"

#include <limits>

namespace wendle {

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
    // No line now: the first one comes with the first tick, an interval later.
    m_timer.start();
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

void LoggingControl::tick() {
    if (!isLogging())
        return;
    // One reading of the clock decides both the file and the line, so a line
    // is always filed under the date it shows.
    const LocalDateTime now = m_clock.now();
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
    }
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
    // Setting the interval restarts a running timer; the slider reports the
    // same value more than once while it is dragged.
    if (interval != m_timer.interval())
        m_timer.setInterval(interval);
}

} // namespace wendle
