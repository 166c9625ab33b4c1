#include "logging/logging_control.h"
#include "support/fake_clock.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

using namespace wendle;
using wendle::test::FakeClock;

class TestLoggingControl : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    FakeClock m_clock;

    QString logPath(const QDate &date) const {
        return m_dir.filePath(date.toString("yyyy-MM-dd") + ".log");
    }
    static QByteArray readFile(const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    static void verifyIdle(LoggingControl &control) {
        QVERIFY(!control.isLogging());
        QCOMPARE(control.logFileNumber(), 0);
        QVERIFY(!control.timer().isActive());
    }

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        m_clock.set(QDateTime(QDate(2003, 12, 2), QTime(14, 3, 12)));
    }

    void startOpensWithoutWritingAndTicksAppend() {
        LoggingControl control(m_clock);
        QSignalSpy looks(&control, &LoggingControl::loggingChanged);
        control.setFolder(m_dir.path());
        control.start();
        QCOMPARE(control.logFileNumber(), 1);
        QVERIFY(control.timer().isActive());
        QCOMPARE(control.timer().interval(), 10000);
        QCOMPARE(control.timer().timerType(), Qt::PreciseTimer);
        QCOMPARE(looks.count(), 1);
        QCOMPARE(looks.at(0).at(0).toBool(), true);
        // Start alone writes nothing, but the file is there.
        QCOMPARE(readFile(logPath(m_clock.now().date())), QByteArray());

        control.tick();
        m_clock.advance(10);
        control.tick();
        control.stop();
        verifyIdle(control);
        QCOMPARE(readFile(logPath(m_clock.now().date())), QByteArray("14:03:12\r\n14:03:22\r\n"));
        QCOMPARE(looks.last().at(0).toBool(), false);

        // A later run of the same day appends after the earlier lines.
        control.start();
        m_clock.advance(5);
        control.tick();
        control.stop();
        QCOMPARE(readFile(logPath(m_clock.now().date())),
                 QByteArray("14:03:12\r\n14:03:22\r\n14:03:27\r\n"));
    }

    void intervalFollowsSliderAndKeepsTimerState() {
        LoggingControl control(m_clock);
        control.setIntervalSeconds(5);
        QCOMPARE(control.timer().interval(), 5000);
        QVERIFY(!control.timer().isActive());
        control.setFolder(m_dir.path());
        control.start();
        control.setIntervalSeconds(60);
        QCOMPARE(control.timer().interval(), 60000);
        QVERIFY(control.timer().isActive());
        control.setIntervalSeconds(0); // never a zero interval
        QCOMPARE(control.timer().interval(), 60000);
        control.stop();
    }

    // Start in a folder that is not there: the user is told the path and the
    // reason, and the program is idle, not logging into nowhere.
    void startInMissingFolderReportsAndStaysIdle() {
        LoggingControl control(m_clock);
        QSignalSpy failures(&control, &LoggingControl::failed);
        QSignalSpy looks(&control, &LoggingControl::loggingChanged);
        const QString folder = m_dir.filePath("gone");
        control.setFolder(folder);
        control.start();
        verifyIdle(control);
        QCOMPARE(failures.count(), 1);
        const QString message = failures.at(0).at(0).toString();
        QVERIFY2(message.contains(folder + "/2003-12-02.log"), qPrintable(message));
        QVERIFY2(message.contains("No such file or directory"), qPrintable(message));
        QVERIFY(!looks.isEmpty());
        QCOMPARE(looks.last().at(0).toBool(), false);
        control.tick(); // a stray tick does nothing
        QVERIFY(!QFile::exists(folder));
    }

    // Each tick files its line under the date the line belongs to.
    void tickAfterMidnightWritesIntoTheNewDay() {
        LoggingControl control(m_clock);
        control.setFolder(m_dir.path());
        m_clock.set(QDateTime(QDate(2003, 12, 2), QTime(23, 59, 55)));
        control.start();
        control.tick();
        m_clock.set(QDateTime(QDate(2003, 12, 3), QTime(0, 0, 5)));
        control.tick();
        QCOMPARE(control.openLogPath(), logPath(QDate(2003, 12, 3)));
        control.stop();
        QCOMPARE(readFile(logPath(QDate(2003, 12, 2))), QByteArray("23:59:55\r\n"));
        QCOMPARE(readFile(logPath(QDate(2003, 12, 3))), QByteArray("00:00:05\r\n"));
    }

    void dayChangeToUnwritableFolderStops() {
        LoggingControl control(m_clock);
        QSignalSpy failures(&control, &LoggingControl::failed);
        const QString folder = m_dir.filePath("sub");
        QVERIFY(QDir().mkpath(folder));
        control.setFolder(folder);
        control.start();
        QVERIFY(QDir(folder).removeRecursively()); // the folder vanishes while logging
        m_clock.advance(24 * 3600);
        control.tick();
        verifyIdle(control);
        QCOMPARE(failures.count(), 1);
        QVERIFY(failures.at(0).at(0).toString().contains("2003-12-03.log"));
    }

    void showRecentLogWhileLoggingShowsNewestAndGoesOn() {
        LoggingControl control(m_clock);
        QSignalSpy shown(&control, &LoggingControl::recentLogRead);
        control.setFolder(m_dir.path());
        control.start();
        control.tick();
        m_clock.advance(1);
        control.tick();
        control.showRecentLog();
        QCOMPARE(shown.count(), 1);
        QCOMPARE(shown.at(0).at(0).toString(), QString("14:03:12\r\n14:03:13\r\n"));
        QVERIFY(control.isLogging());
        QCOMPARE(control.logFileNumber(), 1);
        QVERIFY(control.timer().isActive());
        m_clock.advance(1);
        control.tick();
        control.stop();
        QCOMPARE(readFile(logPath(m_clock.now().date())),
                 QByteArray("14:03:12\r\n14:03:13\r\n14:03:14\r\n"));
    }

    void showRecentLogWhileIdleStaysIdle() {
        QFile file(logPath(m_clock.now().date()));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("08:00:00\r\n");
        file.close();
        LoggingControl control(m_clock);
        QSignalSpy shown(&control, &LoggingControl::recentLogRead);
        QSignalSpy looks(&control, &LoggingControl::loggingChanged);
        control.setFolder(m_dir.path());
        control.showRecentLog();
        QCOMPARE(shown.at(0).at(0).toString(), QString("08:00:00\r\n"));
        verifyIdle(control);
        QVERIFY(looks.isEmpty());
    }

    // After midnight today's file does not exist yet: the view empties with no
    // error, and logging carries on in the new day's file.
    void showRecentLogAfterMidnightEmptiesViewAndResumes() {
        LoggingControl control(m_clock);
        QSignalSpy shown(&control, &LoggingControl::recentLogRead);
        QSignalSpy failures(&control, &LoggingControl::failed);
        control.setFolder(m_dir.path());
        m_clock.set(QDateTime(QDate(2003, 12, 2), QTime(23, 59, 59)));
        control.start();
        control.tick();
        m_clock.set(QDateTime(QDate(2003, 12, 3), QTime(0, 0, 1)));
        control.showRecentLog();
        QCOMPARE(shown.count(), 1);
        QCOMPARE(shown.at(0).at(0).toString(), QString());
        QVERIFY(failures.isEmpty());
        QVERIFY(control.isLogging());
        QCOMPARE(control.openLogPath(), logPath(QDate(2003, 12, 3)));
    }

    void showRecentLogReopenFailureStops() {
        LoggingControl control(m_clock);
        QSignalSpy failures(&control, &LoggingControl::failed);
        const QString folder = m_dir.filePath("sub");
        QVERIFY(QDir().mkpath(folder));
        control.setFolder(folder);
        control.start();
        QVERIFY(QDir(folder).removeRecursively());
        control.showRecentLog();
        verifyIdle(control);
        QCOMPARE(failures.count(), 1);
        QVERIFY(failures.at(0).at(0).toString().contains("No such file or directory"));
    }

    // A full disk or a size limit stops logging with a message; the file
    // keeps only whole lines.
    void writeFailureStopsAndReportsOnce() {
        LoggingControl control(m_clock);
        QSignalSpy failures(&control, &LoggingControl::failed);
        control.setFolder(m_dir.path());
        control.start();
        control.tick();

        rlimit saved;
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit small = saved;
        small.rlim_cur = 14;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        m_clock.advance(10);
        control.tick();
        control.tick(); // the timer is off; a late tick must not report again
        setrlimit(RLIMIT_FSIZE, &saved);

        verifyIdle(control);
        QCOMPARE(failures.count(), 1);
        QVERIFY(failures.at(0).at(0).toString().contains("File too large"));
        QCOMPARE(readFile(logPath(m_clock.now().date())), QByteArray("14:03:12\r\n"));
    }

    // The real timer drives ticks on its own.
    void timerTicksByItself() {
        LoggingControl control(m_clock);
        control.setFolder(m_dir.path());
        control.setIntervalSeconds(1);
        control.start();
        QTRY_COMPARE_WITH_TIMEOUT(readFile(logPath(m_clock.now().date())),
                                  QByteArray("14:03:12\r\n"), 3000);
        control.stop();
    }
};

QTEST_GUILESS_MAIN(TestLoggingControl)
#include "test_logging_control.moc"
