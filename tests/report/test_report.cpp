#include "logging/time_line.h"
#include "report/clock_text.h"
#include "report/dates.h"
#include "report/day_files.h"
#include "report/day_reader.h"
#include "report/day_record.h"
#include "report/recent_days.h"
#include "report/record_reader.h"
#include "report/report_command.h"
#include "report/report_entries.h"
#include "report/time_of_day.h"
#include "report/timeline.h"
#include "support/fake_clock.h"

#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace wendle;
using namespace wendle::report;

namespace {

// "09:00:00" -> seconds since midnight.
int at(const char *clock) {
    int h, m, s;
    std::sscanf(clock, "%d:%d:%d", &h, &m, &s);
    return h * 3600 + m * 60 + s;
}

// Lines every `step` seconds after `from` up to `to`, as the timer writes them.
void ticks(std::vector<int> &times, const char *from, const char *to, int step) {
    for (int t = at(from) + step; t <= at(to); t += step)
        times.push_back(t);
}

// The same as lines of a log file.
QByteArray tickText(const char *from, const char *to, int step) {
    std::vector<int> times;
    ticks(times, from, to, step);
    QByteArray text;
    for (const int t : times)
        text += (clockText(t) + "\r\n").c_str();
    return text;
}

QString shown(const std::vector<Stretch> &stretches) {
    QStringList parts;
    for (const Stretch &s : stretches)
        parts << QString::asprintf("%02d:%02d:%02d-%02d:%02d:%02d", s.start / 3600,
                                   s.start / 60 % 60, s.start % 60, s.end / 3600, s.end / 60 % 60,
                                   s.end % 60);
    return parts.join(' ');
}

// A day's file, as a first look found it (when not empty), then as it is:
// written over in place or renamed over, text then NUL bytes (a sparse
// file) then more; what the reader makes of it in that zone.
struct DayCase {
    QByteArray zone{};
    QString date = "2026-12-02";
    QByteArray before{};
    bool inPlace = false;
    QByteArray text{};
    qint64 nuls = 0;
    QByteArray after{};
    QString stretches{};
    qint64 seconds = 0;
    QString unreadable{};
    QString error{};
};

// Files in folders "0", "1", "2" as sync tools leave them, read as one
// record of 2026-12-09.
struct Layout {
    QList<QPair<QString, QByteArray>> files;
    int folders = 1;
    QString stretches{};
    qint64 seconds = 0;
    int copies = 0;
    // A folder read too, named another way.
    QString again{};
};

} // namespace

Q_DECLARE_METATYPE(DayCase)
Q_DECLARE_METATYPE(Layout)

class TestReport : public QObject {
    Q_OBJECT

private slots:
    // The hour names never run into each other, however narrow the timeline.
    void hourNamesStayApart() {
        for (const double width : {900.0, 600.0, 450.0}) {
            TimelineMetrics metrics;
            metrics.width = width;
            std::vector<double> names;
            for (const TimelineItem &item : layOutTimeline({}, metrics).items)
                if (item.role == TimelineItem::Role::AxisText)
                    names.push_back(item.x);
            QVERIFY(names.size() >= 3);
            QVERIFY(names.size() == 9 || width < 900);
            for (std::size_t i = 1; i < names.size(); ++i)
                QVERIFY(names[i] - names[i - 1] >= metrics.fontSize * 3.0);
        }
    }

    void timeFormats_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("seconds"); // -1: not a time of day
        const QList<QPair<const char *, int>> rows = {
            {"14:03:12\r", at("14:03:12")},
            {"2:03:12 PM", at("14:03:12")},
            {"02:03:12 PM\r", at("14:03:12")},
            {"12:00:05 AM", 5},
            {"12:00:00 PM", at("12:00:00")},
            {"2:03:12 p.m.", at("14:03:12")},
            {" 9:00:00", at("09:00:00")},
            {"14.03.12", at("14:03:12")},
            {"\xE5\x8D\x88\xE5\xBE\x8C 2:03:12", at("14:03:12")}, // the locale's marker first
            {"", -1},
            {"garbage", -1},
            {"25:00:00", -1},
            {"13:00:00 PM", -1},
            {"14:60:00", -1},
            {"14:03", at("14:03:00")}, // a format without seconds
            {"11\xE6\x99\x82"
             "03\xE5\x88\x86"
             "36\xE7\xA7\x92",
             at("11:03:36")}, // 時分秒
            {"11\xE6\x97\xB6"
             "04\xE5\x88\x86"
             "33\xE7\xA7\x92",
             at("11:04:33")},                                                 // 时分秒
            {"11\xEC\x8B\x9C 04\xEB\xB6\x84 18\xEC\xB4\x88", at("11:04:18")}, // 시 분 초
            {"11:03:50 AM UTC", at("11:03:50")},
            {"UTC 11:03:50 PM", at("23:03:50")},
            {"kl. 14.03 +0100", at("14:03:00")},
            {"10:56:30 \xCF\x80\xCE\xBC", at("10:56:30")}, // the locale's own AM word
            {"garbage 14:03:12", -1},
            {"2:03:12 PM XY", -1},
            {"14:03:12 PMUTC", -1},
            {"14:03:12 PM", -1},
            {"14:03.12", -1},
            {"AM 2:03:12 PM", -1},
            {"2:03:12 XM", -1},
        };
        for (const auto &[line, seconds] : rows)
            QTest::newRow(line) << QByteArray(line) << seconds;
    }
    void timeFormats() {
        QFETCH(QByteArray, line);
        QFETCH(int, seconds);
        DayHalfMarkers markers{{"AM", "\xE5\x8D\x88\xE5\x89\x8D", "\xCF\x80\xCE\xBC"},
                               {"PM", "\xE5\x8D\x88\xE5\xBE\x8C", "p.m."},
                               formatWords("kl. %H.%M %z")};
        const std::optional<int> parsed = parseTimeOfDay(line.toStdString(), markers);
        QCOMPARE(parsed.value_or(-1), seconds);
    }

    void stretches_data() {
        QTest::addColumn<std::vector<int>>("times");
        QTest::addColumn<QString>("expected");
        for (int step : {1, 10, 60}) {
            std::vector<int> day;
            ticks(day, "09:00:00", "17:00:00", step);
            QTest::addRow("8 h at %d s", step) << day << "09:00:00-17:00:00";
            std::vector<int> broken;
            ticks(broken, "09:00:00", "10:00:00", step);
            ticks(broken, "10:30:00", "11:00:00", step);
            QTest::addRow("a break at %d s", step)
                << broken << "09:00:00-10:00:00 10:30:00-11:00:00";
        }
        std::vector<int> slider;
        ticks(slider, "09:00:00", "09:10:00", 1);
        ticks(slider, "09:10:00", "09:20:00", 10); // moved to 10 s
        ticks(slider, "09:20:02", "09:30:02", 60); // dragged to 60 s over two seconds
        QTest::newRow("slider moves") << slider << "09:00:00-09:30:02";
        std::vector<int> back;
        ticks(back, "10:00:00", "10:30:00", 10);
        ticks(back, "09:30:00", "09:40:00", 10); // the clock set back half an hour
        QTest::newRow("clock set back") << back << "09:30:00-09:40:00 10:00:00-10:30:00";
        std::vector<int> midnight;
        ticks(midnight, "23:50:00", "23:59:59", 1);
        QTest::newRow("ends at midnight") << midnight << "23:50:00-23:59:59";
        QTest::newRow("starts after midnight")
            << std::vector<int>{5, 15, 25} << "00:00:00-00:00:25";
        QTest::newRow("one line") << std::vector<int>{at("12:00:00")} << "11:59:50-12:00:00";
        QTest::newRow("one line after a stretch")
            << std::vector<int>{at("08:00:01"), at("08:00:02"), at("12:00:00")}
            << "08:00:00-08:00:02 11:59:59-12:00:00";
        std::vector<int> shared; // two writers into one folder, one clock 2 s behind
        for (int k = 1; k <= 40; ++k)
            shared.insert(shared.end(), {at("10:00:00") + k, at("09:59:58") + k});
        QTest::newRow("two writers, union") << shared << "09:59:58-10:00:40";
        QTest::newRow("slider moved right after Start")
            << std::vector<int>{at("09:00:10"), at("09:00:20"), at("09:00:21"), at("09:00:22")}
            << "09:00:00-09:00:22";
        QTest::newRow("a second shown twice, one skipped")
            << std::vector<int>{at("09:00:01"), at("09:00:02"), at("09:00:02"), at("09:00:04")}
            << "09:00:00-09:00:04";
        QTest::newRow("restart at 1 s after a lone line")
            << std::vector<int>{at("09:00:10"), at("09:00:41"), at("09:00:42"), at("09:00:43")}
            << "09:00:09-09:00:10 09:00:40-09:00:43";
    }
    void stretches() {
        QFETCH(std::vector<int>, times);
        QFETCH(QString, expected);
        QCOMPARE(shown(stretchesOf(times)), expected);
    }

    // Lines the program writes under each locale, with the locale's own
    // formatter, read back whole by the reader set up for that locale.
    void everyLocaleReadsItsOwnLines_data() {
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<int>("resolution");
        for (const char *locale : {"ja_JP.UTF-8", "zh_CN.UTF-8", "ko_KR.UTF-8", "en_IN.UTF-8",
                                   "el_GR.UTF-8", "ar_AE.UTF-8", "en_US.UTF-8", "C"})
            QTest::newRow(locale) << QByteArray(locale) << 1;
        QTest::newRow("nb_NO.UTF-8, no seconds") << QByteArray("nb_NO.UTF-8") << 60;
    }
    void everyLocaleReadsItsOwnLines() {
        QFETCH(QByteArray, locale);
        QFETCH(int, resolution);
        qputenv("LOCPATH", qgetenv("WENDLE_TEST_LOCALES"));
        const QByteArray saved = std::setlocale(LC_TIME, nullptr);
        if (!std::setlocale(LC_TIME, locale.constData()))
            QSKIP("locale not available (tests/report/make_locales.sh makes it)");
        std::string text;
        for (int t = at("09:00:10"); t <= at("17:00:00"); t += 10)
            text += timeLine({t / 3600, t / 60 % 60, t % 60});
        const DayRecord day = dayFromText(text, {2003, 12, 2}, localMarkers());
        std::setlocale(LC_TIME, saved.constData());
        qunsetenv("LOCPATH");
        QVERIFY2(day.unreadableLines.empty(), text.substr(0, 40).c_str());
        QVERIFY(std::abs(day.totalSeconds() - 8 * 3600) <= (resolution == 1 ? 0 : resolution));
    }

    // 2 h logged across midnight are 2 h, though each day's file holds half.
    void midnightKeepsTheFirstInterval() {
        std::string before, after;
        for (int t = at("23:00:05"); t < 24 * 3600; t += 10)
            before += clockText(t) + "\r\n";
        for (int t = 5; t <= at("01:00:05"); t += 10)
            after += clockText(t) + "\r\n";
        DayRecord first = dayFromText(before, {2003, 12, 2}, localMarkers());
        const DayRecord second = dayFromText(after, {2003, 12, 3}, localMarkers());
        joinAtMidnight(first, second);
        QCOMPARE(shown(first.stretches), QString("22:59:55-24:00:00"));
        QCOMPARE(first.totalSeconds() + second.totalSeconds(), 2L * 3600 + 10);
    }

    // Days whose clocks change: elapsed time, and no time that did not exist.
    void clockChanges() {
        qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
        tzset();
        const std::optional<ClockJump> spring = clockJumpOn({2026, 3, 29});
        QVERIFY(spring.has_value());
        QCOMPARE(spring->start, at("02:00:00"));
        QCOMPARE(spring->length, 3600);
        const std::optional<ClockJump> autumn = clockJumpOn({2026, 10, 25});
        QVERIFY(autumn.has_value());
        QCOMPARE(autumn->start, at("03:00:00"));
        QCOMPARE(autumn->length, -3600);
        std::vector<int> times;
        ticks(times, "01:50:00", "02:00:00", 10);
        ticks(times, "03:00:00", "03:10:00", 10);
        std::vector<Stretch> stretches = stretchesOf(times, spring);
        QCOMPARE(shown(stretches), QString("01:50:00-03:10:00"));
        QCOMPARE(stretches.front().seconds(), 20 * 60);
        stretches = stretchesOf({at("03:00:05"), at("03:00:15")}, spring);
        QCOMPARE(shown(stretches), QString("01:59:55-03:00:15"));
        // Autumn: one writer through the hour shown twice logged 5 h by 04:00.
        times.clear();
        ticks(times, "00:00:00", "02:59:50", 10);
        ticks(times, "01:59:50", "04:00:00", 10);
        stretches = stretchesOf(times, autumn);
        QCOMPARE(shown(stretches), QString("00:00:00-04:00:00"));
        QCOMPARE(stretches.front().seconds(), 5 * 3600);
        qunsetenv("TZ");
        tzset();
    }

    // The window's record: today's file read on from where it was, the new
    // lines added; a file replaced by a shorter one is read again.
    void recentDaysFollowTodaysFile() {
        QTemporaryDir dir;
        const std::string path = dir.filePath("2003-12-02.log").toStdString();
        test::FakeClock clock({{2003, 12, 2}, {12, 0, 0}});
        RecentDays days(clock, [&] { return std::vector{dir.path().toStdString()}; });
        std::ofstream(path, std::ios::binary) << "09:00:10\r\n09:00:20\r\n09:00:";
        days.refresh();
        days.finish();
        QCOMPARE(int(days.days().size()), RecentDays::Count);
        QCOMPARE(days.days().front().totalSeconds(), 20L);
        std::ofstream(path, std::ios::binary | std::ios::app) << "30\r\n09:00:40\r\n";
        days.refresh();
        days.finish();
        QCOMPARE(shown(days.days().front().stretches), QString("09:00:00-09:00:40"));
        QVERIFY(days.days().front().unreadableLines.empty());
        std::ofstream(path, std::ios::binary) << "10:00:10\r\n";
        days.refresh();
        days.finish();
        QCOMPARE(shown(days.days().front().stretches), QString("10:00:00-10:00:10"));
        // A copy the sync tool made meanwhile counts from the next look on,
        // and no longer once it has gone.
        const QString copy = dir.filePath("2003-12-02.sync-conflict-20031202-110000-AF4AO6E.log");
        std::ofstream(copy.toStdString(), std::ios::binary) << "09:00:10\r\n09:00:20\r\n";
        days.refresh();
        days.finish();
        QCOMPARE(shown(days.days().front().stretches),
                 QString("09:00:00-09:00:20 10:00:00-10:00:10"));
        QCOMPARE(reportSummary(days.days()).find("2003-12-02: 1 conflict copy read") !=
                     std::string::npos,
                 true);
        QVERIFY(QFile::remove(copy));
        days.refresh();
        days.finish();
        QCOMPARE(shown(days.days().front().stretches), QString("10:00:00-10:00:10"));
    }

    // Files no writer would leave and nights whose clocks change, read as the
    // window follows today's file.
    void hostileFilesAndClockChanges_data() {
        QTest::addColumn<DayCase>("file");
        const QByteArray lines = tickText("09:00:00", "09:00:20", 10), mb(1 << 20, 'x');
        const QByteArray longer = "10:00:10\n10:00:20\n10:00:30\n";
        const qint64 gb = qint64(1) << 30;
        QTest::newRow("lines of a megabyte")
            << DayCase{.text = "09:00:10\r\n" + mb + "\r\n09:00:20\r\n" + mb,
                       .stretches = "09:00:00-09:00:20",
                       .seconds = 20,
                       .unreadable = "2,4"};
        QTest::newRow("NUL bytes amid lines") << DayCase{.text = "09:00:10\r\n",
                                                         .nuls = gb / 5,
                                                         .after = "\r\n09:00:20\r\n",
                                                         .stretches = "09:00:00-09:00:20",
                                                         .seconds = 20,
                                                         .unreadable = "2"};
        QTest::newRow("a crash's NUL bytes, then the next line")
            << DayCase{.text = "09:00:10\r\n",
                       .nuls = 4096,
                       .after = "09:00:20\r\n",
                       .stretches = "09:00:00-09:00:20",
                       .seconds = 20};
        QTest::newRow("100 GB sparse") << DayCase{
            .text = lines, .nuls = 100 * gb, .error = "larger than a day's log can be (100 GB)"};
        // More writers than are told apart, each line going back before all
        // of them: a lone line a writer, set aside at once, a day over.
        DayCase crafted;
        QStringList apart;
        for (int t = 20; t < 24 * 3600; t += 20)
            apart << QString::fromStdString(clockText(t - 10) + "-" + clockText(t));
        for (int round = 0; round < 200; ++round)
            for (int t = 24 * 3600 - 20; t > 0; t -= 20)
                crafted.text += (clockText(t) + "\r\n").c_str();
        crafted.stretches = apart.join(' ');
        crafted.seconds = apart.size() * 10;
        QTest::newRow("32 writers and more, stretches apart") << crafted;
        QTest::newRow("replaced by a longer file") << DayCase{
            .before = lines, .text = longer, .stretches = "10:00:00-10:00:30", .seconds = 30};
        QTest::newRow("written over, longer") << DayCase{.before = lines,
                                                         .inPlace = true,
                                                         .text = longer,
                                                         .stretches = "10:00:00-10:00:30",
                                                         .seconds = 30};
        const QByteArray berlin = "Europe/Berlin";
        QTest::newRow("spring night") << DayCase{.zone = berlin,
                                                 .date = "2026-03-29",
                                                 .text = tickText("00:00:00", "01:59:50", 10) +
                                                         tickText("02:59:50", "04:00:00", 10),
                                                 .stretches = "00:00:00-04:00:00",
                                                 .seconds = 3 * 3600};
        QTest::newRow("autumn night") << DayCase{.zone = berlin,
                                                 .date = "2026-10-25",
                                                 .text = tickText("00:00:00", "02:59:50", 10) +
                                                         tickText("01:59:50", "04:00:00", 10),
                                                 .stretches = "00:00:00-04:00:00",
                                                 .seconds = 5 * 3600};
        QTest::newRow("autumn night, half an hour back") << DayCase{
            .zone = "Australia/Lord_Howe",
            .date = "2026-04-05",
            .text = tickText("00:00:00", "01:59:50", 10) + tickText("01:29:50", "03:00:00", 10),
            .stretches = "00:00:00-03:00:00",
            .seconds = 3 * 3600 + 1800};
        QTest::newRow("autumn night, clock set back an hour at another time") << DayCase{
            .zone = berlin,
            .date = "2026-10-25",
            .text = tickText("00:00:00", "01:00:00", 10) + tickText("00:00:00", "01:30:00", 10),
            .stretches = "00:00:00-01:30:00",
            .seconds = 5400};
    }
    void hostileFilesAndClockChanges() {
        QFETCH(DayCase, file);
        if (!file.zone.isEmpty())
            qputenv("TZ", file.zone);
        tzset();
        QTemporaryDir dir;
        const std::string path = dir.filePath("day.log").toStdString();
        const DayHalfMarkers markers = localMarkers();
        DayReader reader(*parseIsoDate(file.date.toStdString()), markers);
        std::string failure;
        if (!file.before.isEmpty()) {
            std::ofstream(path, std::ios::binary) << file.before.toStdString();
            QVERIFY(readOn(reader, path, failure));
        }
        const std::string written = file.inPlace ? path : path + ".new";
        std::ofstream(written, std::ios::binary) << file.text.toStdString();
        if (file.nuls > 0)
            std::filesystem::resize_file(written, std::uintmax_t(file.text.size() + file.nuls));
        std::ofstream(written, std::ios::binary | std::ios::app) << file.after.toStdString();
        std::filesystem::rename(written, path);
        QCOMPARE(readOn(reader, path, failure), file.error.isEmpty());
        QCOMPARE(QString::fromStdString(failure), file.error);
        const DayRecord record = reader.record();
        qunsetenv("TZ");
        tzset();
        QCOMPARE(shown(record.stretches), file.stretches);
        QCOMPARE(qint64(record.totalSeconds()), file.seconds);
        QStringList lineNumbers;
        for (const long line : record.unreadableLines)
            lineNumbers << QString::number(line);
        QCOMPARE(lineNumbers.join(','), file.unreadable);
    }

    void conflictCopiesAndFolders_data() {
        QTest::addColumn<Layout>("layout");
        const QByteArray nine = tickText("09:00:00", "10:00:00", 10);
        // The day file kept the other computer's version, which lacks this
        // one's last lines; they are in the copy.
        QTest::newRow("Syncthing, a hand-over") << Layout{
            {{"0/2026-12-09.log",
              tickText("09:00:00", "09:29:57", 1) + tickText("09:30:04", "10:00:00", 1)},
             {"0/2026-12-09.sync-conflict-20261209-093004-AF4AO6E.log",
              tickText("09:00:00", "09:30:00", 1)},
             {"0/2026-12-09.sync-conflict-20261209-093004-AF4AO6E.sync-conflict-20261209-093010-"
              "BBBBBBB.log",
              tickText("09:00:00", "09:10:00", 1)}},
            1,
            "09:00:00-09:30:00 09:30:04-10:00:00",
            1800 + 1796,
            2};
        QTest::newRow("Nextcloud and ownCloud, apart")
            << Layout{{{"0/2026-12-09.log", nine},
                       {"0/2026-12-09 (conflicted copy 2026-12-09 101500).log",
                        tickText("10:30:00", "11:00:00", 10)},
                       {"0/2026-12-09 (conflicted copy ann 2026-12-09 111500).log",
                        tickText("11:30:00", "12:00:00", 10)},
                       {"0/2026-12-09_conflict-20261209-121500.log", nine}},
                      1,
                      "09:00:00-10:00:00 10:30:00-11:00:00 11:30:00-12:00:00",
                      3 * 1800 + 1800,
                      3};
        QTest::newRow("Dropbox and OneDrive, overlapping")
            << Layout{{{"0/2026-12-09.log", tickText("09:00:00", "09:40:00", 10)},
                       {"0/2026-12-09 (Ann's conflicted copy 2026-12-09).log",
                        tickText("09:20:00", "10:00:00", 10)},
                       {"0/2026-12-09 (Ann's conflicted copy 2026-12-09 (1)).log",
                        tickText("10:00:00", "10:10:00", 10)},
                       {"0/2026-12-09-LAPTOP.log", tickText("10:05:00", "10:20:00", 10)},
                       {"0/2026-12-09-laptop-safeBackup-0001.log", nine}},
                      1,
                      "09:00:00-10:20:00",
                      80 * 60,
                      4};
        QTest::newRow("names that are no copy of the day") << Layout{
            {{"0/2026-12-09.log", nine},
             {"0/2026-12-09.log.tmp", tickText("11:00:00", "12:00:00", 10)},
             {"0/.syncthing.2026-12-09.log.tmp", tickText("11:00:00", "12:00:00", 10)},
             {"0/2026-12-09.sync-conflict-2026-AF.log", tickText("11:00:00", "12:00:00", 10)},
             {"0/notes 2026-12-09.log", tickText("11:00:00", "12:00:00", 10)},
             {"0/2026-12-10 (conflicted copy 2026-12-10 093612).log",
              tickText("11:00:00", "12:00:00", 10)},
             {"0/2026-12-09-old.log/", {}}},
            1,
            "09:00:00-10:00:00",
            3600,
            0};
        QTest::newRow("the first folder named again")
            << Layout{{{"0/2026-12-09.log", nine},
                       {"0/2026-12-09.sync-conflict-20261209-093004-AF4AO6E.log", nine}},
                      1,
                      "09:00:00-10:00:00",
                      3600,
                      1,
                      "0/"};
        QTest::newRow("a copy and no day file")
            << Layout{{{"0/2026-12-09 (Bob's conflicted copy 2026-12-09).log", nine}},
                      1,
                      "09:00:00-10:00:00",
                      3600,
                      1};
        QTest::newRow("two folders, overlapping")
            << Layout{{{"0/2026-12-09.log", nine},
                       {"1/2026-12-09.log", tickText("09:30:00", "11:00:00", 10)}},
                      2,
                      "09:00:00-11:00:00",
                      7200,
                      0};
        QTest::newRow("three folders, one with a copy alone")
            << Layout{{{"0/2026-12-09.log", nine},
                       {"1/2026-12-09.sync-conflict-20261209-120000-XYZ1234.log",
                        tickText("12:00:00", "13:00:00", 10)},
                       {"2/2026-12-09.log", tickText("14:00:00", "15:00:00", 10)},
                       {"2/2026-12-09.sync-conflict-20261209-150000-XYZ1234.log",
                        tickText("14:30:00", "15:00:00", 10)}},
                      3,
                      "09:00:00-10:00:00 12:00:00-13:00:00 14:00:00-15:00:00",
                      3 * 3600,
                      2};
    }
    void conflictCopiesAndFolders() {
        QFETCH(Layout, layout);
        QTemporaryDir dir;
        std::vector<std::string> folders;
        for (int f = 0; f < layout.folders; ++f) {
            folders.push_back(dir.filePath(QString::number(f)).toStdString());
            std::filesystem::create_directory(folders.back());
        }
        if (!layout.again.isEmpty())
            folders.push_back(dir.filePath(layout.again).toStdString());
        for (const auto &[name, text] : layout.files)
            if (name.endsWith('/'))
                std::filesystem::create_directory(dir.filePath(name).toStdString());
            else
                std::ofstream(std::filesystem::u8path(dir.filePath(name).toStdString()),
                              std::ios::binary)
                    << text.toStdString();
        const std::vector<DayRecord> days =
            readRecord(folders, {2026, 12, 9}, {2026, 12, 9}, localMarkers());
        QCOMPARE(int(days.size()), 1);
        QCOMPARE(shown(days.front().stretches), layout.stretches);
        QCOMPARE(qint64(days.front().totalSeconds()), layout.seconds);
        QCOMPARE(int(days.front().conflictCopies.size()), layout.copies);
        QVERIFY(days.front().readError.empty());
        // Read, never touched.
        for (const auto &[name, text] : layout.files)
            QVERIFY(QFile::exists(dir.filePath(name)));
    }

    void fileEndingsAndUnreadableLines() {
        const DayHalfMarkers markers = localMarkers();
        const DayRecord day =
            dayFromText("09:00:10\r\n09:00:20\n\nnoise\r\n09:00:30", {2003, 12, 2}, markers);
        QCOMPARE(shown(day.stretches), QString("09:00:00-09:00:30"));
        QCOMPARE(day.unreadableLines, (std::vector<long>{3, 4}));
        QCOMPARE(day.totalSeconds(), 30L);
    }

    void commandOutputsAndExits() {
        QTemporaryDir dir;
        std::ofstream(dir.filePath("2026-12-01.log").toStdString(), std::ios::binary)
            << "09:00:10\r\n09:00:20\r\nbad\r\n";
        const std::string folder = dir.path().toStdString();
        const auto run = [&](std::vector<std::string> args, std::string *err = nullptr) {
            std::ostringstream out, errors;
            args.insert(args.begin(), {"--folder", folder});
            const int status = runReportCommand(args, {2026, 12, 2}, {}, out, errors);
            if (err)
                *err = errors.str();
            return std::make_pair(status, out.str());
        };
        QCOMPARE(run({"--format", "json", "yesterday", "today"}).second,
                 "{\"folder\": \"" + folder +
                     "\", \"from\": \"2026-12-01\", \"to\": \"2026-12-02\", \"total_seconds\": 20, "
                     "\"days\": [{\"date\": \"2026-12-01\", \"total_seconds\": 20, \"stretches\": "
                     "[{\"start\": \"09:00:00\", \"end\": \"09:00:20\", \"seconds\": 20}], "
                     "\"unreadable_lines\": [3]}, {\"date\": \"2026-12-02\", \"total_seconds\": 0, "
                     "\"stretches\": [], \"unreadable_lines\": []}]}\n");
        QCOMPARE(run({"--format", "csv", "--week"}).second,
                 "date,start,end,seconds\n2026-12-01,09:00:00,09:00:20,20\n");
        const std::string text = run({"2026-12-01"}).second;
        QVERIFY2(text.find("0 h 0 min 20 s") != std::string::npos, text.c_str());
        QVERIFY(text.find("2026-12-01: line 3") != std::string::npos);

        for (const std::vector<std::string> &bad : {std::vector<std::string>{"--format", "xml"},
                                                    {"2026-02-30"},
                                                    {"--nope"},
                                                    {"2026-12-02", "2026-12-01"},
                                                    {"--week", "today"},
                                                    {"--folder", folder + "/gone"}}) {
            std::string err;
            QCOMPARE(run(bad, &err).first, 2);
            QCOMPARE(std::count(err.begin(), err.end(), '\n'), 1);
        }
        std::ostringstream out, err;
        QCOMPARE(runReportCommand({}, {2026, 12, 2}, {}, out, err), 2); // no folder anywhere
        // A stored report folder not there yet is left out, the log folder is not.
        std::ostringstream storedOut, storedErr;
        QCOMPARE(
            runReportCommand({}, {2026, 12, 2}, {folder, folder + "/gone"}, storedOut, storedErr),
            0);
        QVERIFY(storedErr.str().find("gone does not exist, left out") != std::string::npos);
        QCOMPARE(
            runReportCommand({}, {2026, 12, 2}, {folder + "/gone", folder}, storedOut, storedErr),
            2);
    }
};

QTEST_GUILESS_MAIN(TestReport)
#include "test_report.moc"
