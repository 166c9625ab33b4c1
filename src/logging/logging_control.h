#pragma once

#include "logging/clock.h"
#include "logging/daily_log_file.h"
#include "logging/file_numbers.h"
#include "logging/timer.h"

#include <functional>
#include <string>

namespace wendle {

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
    };

    LoggingControl(const Clock &clock, Timer &timer);
    LoggingControl(const LoggingControl &) = delete;
    LoggingControl &operator=(const LoggingControl &) = delete;

    void setListener(Listener listener) { m_listener = std::move(listener); }

    // The number of the open log file; 0 when not logging.
    int logFileNumber() const { return m_logFileNumber; }
    bool isLogging() const { return m_logFileNumber != 0; }
    const std::string &openLogPath() const { return m_file.path(); }

    // The folder whose daily log is opened by the next Start, reopen or day change.
    void setFolder(const std::string &folder) { m_folder = folder; }
    const std::string &folder() const { return m_folder; }

    Timer &timer() { return m_timer; }

    void start();
    void stop();
    void tick();
    void showRecentLog();
    void setIntervalSeconds(int seconds);

    // The delay the next tick was set for, from the moment it was set.
    int nextTickDelay() const { return m_nextDelay; }

private:
    void scheduleNextTick();
    bool openToday(const LocalDate &date, std::string &message);
    void failAndStop(const std::string &message);
    void report(const std::string &message) const;

    const Clock &m_clock;
    Timer &m_timer;
    Listener m_listener;
    FileNumbers m_numbers;
    DailyLogFile m_file;
    LocalDate m_fileDate;
    std::string m_folder;
    int m_logFileNumber = 0;
    // Wall-clock milliseconds: when logging started, the start of the second
    // of the last tick (0 before the first), and the last delay asked for.
    std::int64_t m_startedAt = 0;
    std::int64_t m_lastTickSecond = 0;
    int m_nextDelay = 0;
};

} // namespace wendle
