#include "logging/logging_control.h"
#include "logging/time_line.h"
#include "support/fake_clock.h"
#include "ui/qt_text.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <sys/stat.h>

using namespace wendle;
using wendle::test::FakeClock;

namespace {

// The control on a timer the test fires itself, with what it reports
// written down.
struct Harness {
    explicit Harness(const Clock &clock)
        : control(clock, timer, systemLogStore(), utf8(state.filePath("held-lines"))) {
        control.setListener({[this](bool logging) { looks.append(logging); },
                             [this](const std::string &text) { shown.append(qt(text)); },
                             [this](const std::string &text) { failures.append(qt(text)); },
                             [this](const LoggingNotice &notice) { notices.append(notice); }});
    }
    QTemporaryDir state;
    test::ManualTimer timer;
    LoggingControl control;
    QList<bool> looks;
    QList<QString> shown;
    QList<QString> failures;
    QList<LoggingNotice> notices;
};

} // namespace

class TestLoggingControl : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    FakeClock m_clock;

    QString logPath(const LocalDate &date) const {
        return m_dir.filePath(qt(isoDate(date)) + ".log");
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
        m_clock.set(LocalDateTime{{2003, 12, 2}, {14, 3, 12}});
    }

    void startOpensWithoutWritingAndTicksAppend() {
        Harness h(m_clock);
        LoggingControl &control = h.control;
        const auto &looks = h.looks;
        control.setFolder(utf8(m_dir.path()));
        control.start();
        QCOMPARE(control.logFileNumber(), 1);
        QVERIFY(control.timer().isActive());
        QCOMPARE(control.timer().interval(), 10000);
        QCOMPARE(looks.count(), 1);
        QCOMPARE(looks.at(0), true);
        // Start alone writes nothing, but the file is there.
        QCOMPARE(readFile(logPath(m_clock.now().date)), QByteArray());

        control.tick();
        m_clock.advance(10);
        control.tick();
        control.stop();
        verifyIdle(control);
        QCOMPARE(readFile(logPath(m_clock.now().date)), QByteArray("14:03:12\r\n14:03:22\r\n"));
        QCOMPARE(looks.last(), false);

        // A later run of the same day appends after the earlier lines.
        control.start();
        m_clock.advance(5);
        control.tick();
        control.stop();
        QCOMPARE(readFile(logPath(m_clock.now().date)),
                 QByteArray("14:03:12\r\n14:03:22\r\n14:03:27\r\n"));
    }

    void intervalFollowsSliderAndKeepsTimerState() {
        Harness h(m_clock);
        LoggingControl &control = h.control;
        control.setIntervalSeconds(5);
        QCOMPARE(control.timer().interval(), 5000);
        QVERIFY(!control.timer().isActive());
        control.setFolder(utf8(m_dir.path()));
        control.start();
        control.setIntervalSeconds(60);
        QCOMPARE(control.timer().interval(), 60000);
        QVERIFY(control.timer().isActive());
        control.setIntervalSeconds(0); // never a zero interval
        QCOMPARE(control.timer().interval(), 60000);
        control.stop();
    }

    // Start in a folder that is not there (yet): logging goes on, the user
    // is told the path and the reason without a message box, and the lines
    // wait until the folder comes.
    void startInMissingFolderHoldsLines() {
        Harness h(m_clock);
        LoggingControl &control = h.control;
        const QString folder = m_dir.filePath("gone");
        control.setFolder(utf8(folder));
        control.start();
        QVERIFY(control.isLogging());
        QVERIFY(h.failures.isEmpty());
        QCOMPARE(h.notices.count(), 1);
        const QString message = qt(h.notices.at(0).text);
        QVERIFY2(message.contains(folder + "/2003-12-02.log"), qPrintable(message));
        QVERIFY2(message.contains("No such file or directory"), qPrintable(message));
        control.tick();
        QVERIFY(!QFile::exists(folder)); // a folder that is not there is never made
        QVERIFY(QDir().mkpath(folder));
        m_clock.advance(10);
        control.tick();
        QCOMPARE(readFile(logPath(m_clock.now().date).replace(m_dir.path(), folder)),
                 QByteArray("14:03:12\r\n14:03:22\r\n"));
        QCOMPARE(h.notices.count(), 2);
        QVERIFY(qt(h.notices.at(1).text).contains("1 held line was"));
    }

    // Each tick files its line under the date the line belongs to.
    void tickAfterMidnightWritesIntoTheNewDay() {
        Harness h(m_clock);
        LoggingControl &control = h.control;
        control.setFolder(utf8(m_dir.path()));
        m_clock.set(LocalDateTime{{2003, 12, 2}, {23, 59, 55}});
        control.start();
        control.tick();
        m_clock.set(LocalDateTime{{2003, 12, 3}, {0, 0, 5}});
        control.tick();
        QCOMPARE(qt(control.openLogPath()), logPath({2003, 12, 3}));
        control.stop();
        QCOMPARE(readFile(logPath({2003, 12, 2})), QByteArray("23:59:55\r\n"));
        QCOMPARE(readFile(logPath({2003, 12, 3})), QByteArray("00:00:05\r\n"));
    }

    void dayChangeToVanishedFolderHoldsLines() {
        Harness h(m_clock);
        LoggingControl &control = h.control;
        const QString folder = m_dir.filePath("sub");
        QVERIFY(QDir().mkpath(folder));
        control.setFolder(utf8(folder));
        control.start();
        QVERIFY(QDir(folder).removeRecursively()); // the folder vanishes while logging
        m_clock.advance(24 * 3600);
        control.tick();
        QVERIFY(control.isLogging());
        QCOMPARE(h.notices.count(), 1);
        QVERIFY(qt(h.notices.at(0).text).contains("2003-12-03.log"));
        QCOMPARE(control.heldLines().size(), std::size_t(1));
    }

    void showRecentLogWhileLoggingShowsNewestAndGoesOn() {
        Harness h(m_clock);
        LoggingControl &control = h.control;
        const auto &shown = h.shown;
        control.setFolder(utf8(m_dir.path()));
        control.start();
        control.tick();
        m_clock.advance(1);
        control.tick();
        control.showRecentLog();
        QCOMPARE(shown.count(), 1);
        QCOMPARE(shown.at(0), QString("14:03:12\r\n14:03:13\r\n"));
        QVERIFY(control.isLogging());
        QCOMPARE(control.logFileNumber(), 1);
        QVERIFY(control.timer().isActive());
        m_clock.advance(1);
        control.tick();
        control.stop();
        QCOMPARE(readFile(logPath(m_clock.now().date)),
                 QByteArray("14:03:12\r\n14:03:13\r\n14:03:14\r\n"));
    }

    void showRecentLogWhileIdleStaysIdle() {
        QFile file(logPath(m_clock.now().date));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("08:00:00\r\n");
        file.close();
        Harness h(m_clock);
        LoggingControl &control = h.control;
        const auto &shown = h.shown;
        const auto &looks = h.looks;
        control.setFolder(utf8(m_dir.path()));
        control.showRecentLog();
        QCOMPARE(shown.at(0), QString("08:00:00\r\n"));
        verifyIdle(control);
        QVERIFY(looks.isEmpty());
    }

    // After midnight today's file does not exist yet: the view empties with no
    // error, and logging carries on in the new day's file.
    void showRecentLogAfterMidnightEmptiesViewAndResumes() {
        Harness h(m_clock);
        LoggingControl &control = h.control;
        const auto &shown = h.shown;
        const auto &failures = h.failures;
        control.setFolder(utf8(m_dir.path()));
        m_clock.set(LocalDateTime{{2003, 12, 2}, {23, 59, 59}});
        control.start();
        control.tick();
        m_clock.set(LocalDateTime{{2003, 12, 3}, {0, 0, 1}});
        control.showRecentLog();
        QCOMPARE(shown.count(), 1);
        QCOMPARE(shown.at(0), QString());
        QVERIFY(failures.isEmpty());
        QVERIFY(control.isLogging());
        QCOMPARE(qt(control.openLogPath()), logPath({2003, 12, 3}));
    }

    void showRecentLogOfVanishedFolderGoesOn() {
        Harness h(m_clock);
        LoggingControl &control = h.control;
        const QString folder = m_dir.filePath("sub");
        QVERIFY(QDir().mkpath(folder));
        control.setFolder(utf8(folder));
        control.start();
        QVERIFY(QDir(folder).removeRecursively());
        control.showRecentLog();
        QVERIFY(control.isLogging());
        QVERIFY(h.failures.isEmpty());
        QCOMPARE(h.shown.at(0), QString());
    }

    // A full disk or a size limit holds the line and logging goes on; the
    // file keeps only whole lines, and gets the held one once it has room.
    void writeFailureHoldsTheLineAndTellsOnce() {
        Harness h(m_clock);
        LoggingControl &control = h.control;
        control.setFolder(utf8(m_dir.path()));
        control.start();
        control.tick();

        rlimit saved;
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit small = saved;
        small.rlim_cur = 14;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        m_clock.advance(10);
        control.tick();
        m_clock.advance(10);
        control.tick();
        setrlimit(RLIMIT_FSIZE, &saved);

        QVERIFY(control.isLogging());
        QVERIFY(h.failures.isEmpty());
        QCOMPARE(h.notices.count(), 1);
        QVERIFY(qt(h.notices.at(0).text).contains("File too large"));
        QCOMPARE(readFile(logPath(m_clock.now().date)), QByteArray("14:03:12\r\n"));
        m_clock.advance(10);
        control.tick();
        QCOMPARE(readFile(logPath(m_clock.now().date)),
                 QByteArray("14:03:12\r\n14:03:22\r\n14:03:32\r\n14:03:42\r\n"));
        control.stop();
    }

    // Ticks are set for the middle of a wall-clock second, one interval after
    // the second of the last line, whatever the phase of Start and however
    // late each tick runs: no second is repeated or skipped.
    void ticksKeepToTheMiddleOfSeconds_data() {
        QTest::addColumn<int>("startPhase"); // ms into the second Start is pressed
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("firstDelay");
        QTest::newRow("start just before a second, 1 s") << 990 << 1 << 1510;
        QTest::newRow("start on a second, 1 s") << 0 << 1 << 1500;
        QTest::newRow("start past the middle, 1 s") << 600 << 1 << 1900;
        QTest::newRow("start just before a second, 10 s") << 990 << 10 << 10510;
    }
    void ticksKeepToTheMiddleOfSeconds() {
        QFETCH(int, startPhase);
        QFETCH(int, seconds);
        QFETCH(int, firstDelay);
        test::ManualTimer timer;
        LoggingControl control(m_clock, timer);
        control.setFolder(utf8(m_dir.path()));
        control.setIntervalSeconds(seconds);
        m_clock.advanceMilliseconds(startPhase);
        control.start();
        QCOMPARE(timer.delay(), firstDelay);
        QStringList expected;
        for (int i = 0; i < 50; ++i) {
            const int lateness = (i * 37) % 400; // up to 0.4 s late, never the same
            m_clock.advanceMilliseconds(timer.delay() + lateness);
            expected << qt(timeLine(m_clock.now().time)).trimmed();
            timer.fire();
            QCOMPARE(timer.delay(), seconds * 1000 - lateness);
        }
        control.stop();
        const QStringList lines = QString::fromLatin1(readFile(logPath(m_clock.now().date)))
                                      .split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(lines, expected);
        for (int i = 1; i < lines.size(); ++i)
            QCOMPARE(QTime::fromString(lines[i - 1]).secsTo(QTime::fromString(lines[i])), seconds);
    }

    // A slider change takes effect at once; a clock set back does not stall.
    void scheduleFollowsSliderAndClock() {
        test::ManualTimer timer;
        LoggingControl control(m_clock, timer);
        control.setFolder(utf8(m_dir.path()));
        control.start(); // 14:03:12.000, every 10 s: 14:03:22.500
        m_clock.advanceMilliseconds(10500);
        timer.fire();
        m_clock.advanceMilliseconds(2500); // 14:03:25.000
        control.setIntervalSeconds(1);     // 14:03:23.500 is past: the next middle
        QCOMPARE(timer.delay(), 500);
        m_clock.advance(-3600);
        control.setIntervalSeconds(2);
        QVERIFY(timer.delay() <= 3000);
        control.stop();
    }

    // Held lines are the user's alone: a state folder and a spool an earlier
    // version left readable are narrowed to 0700 and 0600; under a folder
    // others can write no spool is kept, and the user is told.
    void heldLinesAreTheUsersAlone() {
        const QString state = m_dir.filePath("state/wendle");
        const QString spool = state + "/held-lines";
        QVERIFY(QDir().mkpath(state));
        QFile old(spool);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("\tfolder\t/gone\n\tdate\t2003-12-02\n14:00:00\n");
        old.close();
        QCOMPARE(::chmod(QFile::encodeName(state).constData(), 0755), 0);
        QCOMPARE(::chmod(QFile::encodeName(spool).constData(), 0644), 0);
        const auto mode = [](const QString &path) {
            struct stat info;
            return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 0777
                                                                           : 0u;
        };
        for (const bool shared : {false, true}) {
            QCOMPARE(::chmod(QFile::encodeName(m_dir.filePath("state")).constData(),
                             shared ? 0777 : 0700),
                     0);
            test::ManualTimer timer;
            LoggingControl control(m_clock, timer, systemLogStore(), utf8(spool));
            QList<LoggingNotice> notices;
            control.setListener({{}, {}, {}, [&](const LoggingNotice &n) { notices.append(n); }});
            control.setFolder(utf8(m_dir.filePath("missing")));
            control.start();
            control.tick();
            QCOMPARE(control.heldLines().size(), std::size_t(shared ? 1 : 2));
            QCOMPARE(notices.count(), 1);
            QCOMPARE(qt(notices.at(0).text).contains("in memory only"), shared);
            if (shared)
                QVERIFY(qt(notices.at(0).text).contains("can be written by other users"));
            QCOMPARE(mode(state), 0700u);
            QCOMPARE(mode(spool), 0600u);
        }
    }
};

QTEST_GUILESS_MAIN(TestLoggingControl)
#include "test_logging_control.moc"
