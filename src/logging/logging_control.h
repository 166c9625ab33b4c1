#pragma once

#include "logging/clock.h"
#include "logging/daily_log_file.h"
#include "logging/file_numbers.h"

#include <QDate>
#include <QObject>
#include <QTimer>

namespace wendle {

// Start, Stop, the timer's ticks and "Show Recent Log", without any widget:
// the window feeds it the folder and the interval and shows what it signals.
class LoggingControl : public QObject {
    Q_OBJECT

public:
    static constexpr qsizetype RecentLogChars = 32000;
    static constexpr int DefaultIntervalMs = 10000;

    explicit LoggingControl(const Clock &clock, QObject *parent = nullptr);

    // The number of the open log file; 0 when not logging.
    int logFileNumber() const { return m_logFileNumber; }
    bool isLogging() const { return m_logFileNumber != 0; }
    QString openLogPath() const { return m_file.path(); }

    // The folder whose daily log is opened by the next Start, reopen or day change.
    void setFolder(const QString &folder) { m_folder = folder; }
    QString folder() const { return m_folder; }

    // The logging timer, exposed so that the window and tests can see its state.
    QTimer &timer() { return m_timer; }

public slots:
    void start();
    void stop();
    void tick();
    void showRecentLog();
    void setIntervalSeconds(int seconds);

signals:
    // The window switches between its idle and logging looks on this.
    void loggingChanged(bool logging);
    // The tail of today's log, empty when there is no file for today yet.
    void recentLogRead(const QString &text);
    // Something the user must be told; logging has been stopped if it failed.
    void failed(const QString &message);

private:
    bool openToday(const QDate &date, QString *message);
    void failAndStop(const QString &message);

    const Clock &m_clock;
    QTimer m_timer;
    FileNumbers m_numbers;
    DailyLogFile m_file;
    QDate m_fileDate;
    QString m_folder;
    int m_logFileNumber = 0;
};

} // namespace wendle
