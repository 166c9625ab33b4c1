#include "logging/logging_control.h"

#include "logging/log_paths.h"
#include "logging/log_tail.h"
#include "logging/time_line.h"

#include <limits>

namespace wendle {

LoggingControl::LoggingControl(const Clock &clock, QObject *parent)
    : QObject(parent), m_clock(clock) {
    m_timer.setObjectName(QStringLiteral("tmrLog"));
    // A coarse timer may fire up to 5 % early and rounds long intervals to
    // whole seconds, which would skip or repeat seconds in the log.
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(DefaultIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &LoggingControl::tick);
}

bool LoggingControl::openToday(const QDate &date, QString *message) {
    const QString path = dailyLogPath(m_folder, date);
    QString reason;
    if (!m_file.open(path, &reason)) {
        *message = tr("Could not open the log file\n%1\nfor writing: %2\n\nLogging is off.")
                       .arg(path, reason);
        return false;
    }
    m_fileDate = date;
    return true;
}

void LoggingControl::failAndStop(const QString &message) {
    stop();
    emit failed(message);
}

void LoggingControl::start() {
    if (isLogging())
        return;
    m_logFileNumber = m_numbers.acquire();
    QString message;
    if (!openToday(m_clock.now().date(), &message)) {
        failAndStop(message);
        return;
    }
    // No line now: the first one comes with the first tick, an interval later.
    m_timer.start();
    emit loggingChanged(true);
}

void LoggingControl::stop() {
    m_file.close();
    if (m_logFileNumber != 0)
        m_numbers.release(m_logFileNumber);
    m_logFileNumber = 0;
    m_timer.stop();
    emit loggingChanged(false);
}

void LoggingControl::tick() {
    if (!isLogging())
        return;
    // One reading of the clock decides both the file and the line, so a line
    // is always filed under the date it shows.
    const QDateTime now = m_clock.now();
    if (now.date() != m_fileDate) {
        m_file.close();
        QString message;
        if (!openToday(now.date(), &message)) {
            failAndStop(message);
            return;
        }
    }
    QString reason;
    if (!m_file.append(timeLine(now.time()), &reason)) {
        failAndStop(tr("Could not write to the log file\n%1\n%2\n\nLogging has stopped.")
                        .arg(m_file.path(), reason));
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
    const QString path = dailyLogPath(m_folder, m_clock.now().date());
    const LogTail tail = readLogTail(path, RecentLogChars);
    m_numbers.release(readNumber);

    QString readFailure;
    if (tail.status == LogTail::Status::Failed)
        readFailure = tr("Could not read the log file\n%1\n%2").arg(path, tail.error);
    // Nothing logged yet today reads as an empty log.
    emit recentLogRead(tail.text);

    if (resume) {
        m_logFileNumber = m_numbers.acquire();
        QString message;
        if (!openToday(m_clock.now().date(), &message)) {
            failAndStop(message);
            return;
        }
    }
    if (!readFailure.isEmpty())
        emit failed(readFailure);
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
