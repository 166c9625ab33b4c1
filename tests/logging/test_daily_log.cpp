#include "logging/clock.h"
#include "logging/daily_log_file.h"
#include "logging/file_numbers.h"
#include "logging/log_paths.h"
#include "logging/log_tail.h"
#include "logging/time_line.h"
#include "support/log_path_cases.h"
#include "ui/qt_text.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace wendle;

class TestDailyLog : public QObject {
    Q_OBJECT

private:
    static void writeFile(const QString &path, const QByteArray &content) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
    }
    static QByteArray readFile(const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

private slots:
    void pathJoinsFolderAndDate() {
        for (const test::LogPathCase &c : test::LogPathCases)
            QVERIFY2(dailyLogPath(c.folder, {2003, 12, 2}) == c.expected, c.name);
    }

    void lineFollowsTheLocaleLongTimeFormat_data() {
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("C, afternoon")
            << QByteArray("C") << QTime(14, 3, 12) << QByteArray("14:03:12\r\n");
        QTest::newRow("C, midnight")
            << QByteArray("C") << QTime(0, 0, 0) << QByteArray("00:00:00\r\n");
        QTest::newRow("en_US, afternoon")
            << QByteArray("en_US.UTF-8") << QTime(14, 3, 12) << QByteArray("02:03:12 PM\r\n");
        QTest::newRow("en_US, after midnight")
            << QByteArray("en_US.UTF-8") << QTime(0, 0, 5) << QByteArray("12:00:05 AM\r\n");
    }
    void lineFollowsTheLocaleLongTimeFormat() {
        QFETCH(QByteArray, locale);
        QFETCH(QTime, time);
        QFETCH(QByteArray, expected);
        const QByteArray saved = std::setlocale(LC_TIME, nullptr);
        if (!std::setlocale(LC_TIME, locale.constData()))
            QSKIP("locale not installed (scripts/setup.sh generates en_US.UTF-8)");
        const QByteArray line =
            QByteArray::fromStdString(timeLine({time.hour(), time.minute(), time.second()}));
        std::setlocale(LC_TIME, saved.constData());
        QCOMPARE(line, expected);
    }

    // A change of the time zone shows at the next reading, without a restart.
    void clockFollowsTheTimeZone() {
        const QByteArray saved = qgetenv("TZ");
        qputenv("TZ", "UTC0");
        const ClockReading utc = SystemClock().read();
        qputenv("TZ", "JST-9");
        const ClockReading tokyo = SystemClock().read();
        saved.isNull() ? qunsetenv("TZ") : qputenv("TZ", saved);
        const int passed = int((tokyo.epochMilliseconds / 1000) - (utc.epochMilliseconds / 1000));
        const auto seconds = [](const LocalTime &t) {
            return t.hour * 3600 + t.minute * 60 + t.second;
        };
        QCOMPARE((seconds(tokyo.local.time) - seconds(utc.local.time) - passed + 86400) % 86400,
                 9 * 3600);
    }

    void fileNumbersAreLowestFreeFromOne() {
        FileNumbers numbers;
        QCOMPARE(numbers.acquire(), 1);
        QCOMPARE(numbers.acquire(), 2);
        QCOMPARE(numbers.acquire(), 3);
        numbers.release(2);
        QCOMPARE(numbers.acquire(), 2);
        numbers.release(1);
        numbers.release(3);
        QCOMPARE(numbers.acquire(), 1);
        QCOMPARE(numbers.acquire(), 3);
    }

    void appendKeepsEarlierLinesAndCreatesMissingFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("2003-12-02.log");
        std::string error;
        {
            DailyLogFile file;
            QVERIFY(file.open(utf8(path), error));
            QVERIFY(file.append("10:00:00\r\n", error));
        }
        QCOMPARE(readFile(path), QByteArray("10:00:00\r\n"));
        DailyLogFile again;
        QVERIFY(again.open(utf8(path), error));
        QVERIFY(again.append("10:00:10\r\n", error));
        again.close();
        QCOMPARE(readFile(path), QByteArray("10:00:00\r\n10:00:10\r\n"));
    }

    void openFailureNamesTheReason_data() {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing folder") << "no such folder/2003-12-02.log"
                                        << "No such file or directory";
        QTest::newRow("a folder in the way") << "taken"
                                             << "Is a directory";
        QTest::newRow("a pipe") << "pipe"
                                << "is not a regular file";
        QTest::newRow("a link to a device") << "null"
                                            << "is not a regular file";
    }
    // Neither writing nor reading the tail ever waits on what is not a file.
    void openFailureNamesTheReason() {
        QFETCH(QString, relative);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("taken"));
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("pipe")).constData(), 0600), 0);
        QVERIFY(QFile::link("/dev/null", dir.filePath("null")));
        ::alarm(10); // a blocked open ends the test instead of hanging it
        DailyLogFile file;
        std::string error;
        QVERIFY(!file.open(utf8(dir.filePath(relative)), error));
        QVERIFY(!file.isOpen());
        QCOMPARE(qt(error), reason);
        const LogTail tail = readLogTail(utf8(dir.filePath(relative)), 100);
        QVERIFY(tail.status != LogTail::Status::Read);
        QCOMPARE(qt(tail.error), reason);
        ::alarm(0);
    }

    // A line that runs into the file size limit is taken back whole, and the
    // failure is reported instead of the program being killed by SIGXFSZ.
    void writeFailureLeavesNoHalfLine() {
        QTemporaryDir dir;
        const QString path = dir.filePath("2003-12-02.log");
        writeFile(path, "09:00:00\r\n");
        DailyLogFile file;
        std::string error;
        QVERIFY(file.open(utf8(path), error));

        rlimit saved;
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit small = saved;
        small.rlim_cur = 25; // room for one more line and half of the next
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool first = file.append("09:00:10\r\n", error);
        const bool second = file.append("09:00:20\r\n", error);
        setrlimit(RLIMIT_FSIZE, &saved);

        QVERIFY(first);
        QVERIFY(!second);
        QCOMPARE(qt(error), QString("File too large"));
        QCOMPARE(readFile(path), QByteArray("09:00:00\r\n09:00:10\r\n"));
    }

    void tailOfShortFileIsWhole() {
        QTemporaryDir dir;
        const QString path = dir.filePath("short.log");
        writeFile(path, "12:00:00\r\n");
        const LogTail tail = readLogTail(utf8(path), 32000);
        QCOMPARE(tail.status, LogTail::Status::Read);
        QCOMPARE(qt(tail.text), QString("12:00:00\r\n"));
    }

    void tailOfLongFileIsItsLastCharacters() {
        QTemporaryDir dir;
        const QString path = dir.filePath("long.log");
        QByteArray content;
        for (int i = 0; i < 5000; ++i)
            content += QTime(0, 0).addSecs(i).toString("HH:mm:ss").toLatin1() + "\r\n";
        writeFile(path, content);
        const LogTail tail = readLogTail(utf8(path), 32000);
        QCOMPARE(tail.status, LogTail::Status::Read);
        QCOMPARE(qt(tail.text).size(), 32000);
        QCOMPARE(qt(tail.text), QString::fromLatin1(content.right(32000)));
        QVERIFY(tail.text.ends_with("01:23:19\r\n"));
    }

    // Characters of three and four bytes: the tail counts characters, not
    // bytes or UTF-16 units, and never starts inside one.
    void tailCountsWholeCharacters_data() {
        QTest::addColumn<QString>("unit");
        QTest::newRow("three-byte") << QString::fromUtf8("€");
        QTest::newRow("four-byte") << QString::fromUtf8("\xF0\x9F\x95\x90"); // a clock face
    }
    void tailCountsWholeCharacters() {
        QFETCH(QString, unit);
        QTemporaryDir dir;
        const QString path = dir.filePath("wide.log");
        writeFile(path, unit.repeated(50001).toUtf8() + "\r\n");
        const LogTail tail = readLogTail(utf8(path), 1000);
        QCOMPARE(tail.status, LogTail::Status::Read);
        QCOMPARE(qt(tail.text), unit.repeated(998) + "\r\n");
    }

    // Lines written under a legacy 8-bit locale read back as the same text,
    // also when the tail starts inside a character.
    void tailDecodesTheLocaleEncoding() {
        const QByteArray saved = std::setlocale(LC_TIME, nullptr);
        if (!std::setlocale(LC_TIME, "ja_JP.EUC-JP"))
            QSKIP("locale not installed (scripts/setup.sh generates ja_JP.EUC-JP)");
        QTemporaryDir dir;
        const QString path = dir.filePath("euc.log");
        std::string content;
        for (int i = 0; i < 100; ++i)
            content += timeLine({14, 3, i % 60});
        writeFile(path, QByteArray::fromStdString(content));
        const LogTail tail = readLogTail(utf8(path), 25);
        std::setlocale(LC_TIME, saved.constData());
        QCOMPARE(qt(tail.text).right(11), QString::fromUtf8("14\u664203\u520639\u79d2\r\n"));
        QCOMPARE(qt(tail.text).size(), 25);
        QVERIFY(!qt(tail.text).contains(QChar::ReplacementCharacter));
    }

    void tailReportsMissingAndUnreadableFiles() {
        QTemporaryDir dir;
        QCOMPARE(readLogTail(utf8(dir.filePath("absent.log")), 10).status,
                 LogTail::Status::Missing);
        const LogTail folder = readLogTail(utf8(dir.path()), 10);
        QCOMPARE(folder.status, LogTail::Status::Failed);
        QCOMPARE(qt(folder.error), QString("Is a directory"));
    }
};

QTEST_GUILESS_MAIN(TestDailyLog)
#include "test_daily_log.moc"
