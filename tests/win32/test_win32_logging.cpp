// The logging core on Windows' own files, clock and time format.
#include "form/folder_path.h"
#include "logging/daily_log_file.h"
#include "logging/log_paths.h"
#include "logging/log_tail.h"
#include "logging/logging_control.h"
#include "logging/text_win32.h"
#include "logging/time_line.h"
#include "report/day_record.h"
#include "report/report_command.h"
#include "settings/registry.h"
#include "support/fake_clock.h"
#include "support/log_path_cases.h"
#include "win32/folder_picker.h"

#include <doctest/doctest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace wendle;
namespace fs = std::filesystem;

namespace {

struct TempFolder {
    TempFolder() {
        path = fs::temp_directory_path() / ("wendle-test-" + std::to_string(GetCurrentProcessId()));
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempFolder() { fs::remove_all(path); }
    std::string file(const char *name) const { return utf8(path / fs::u8path(name)); }
    static std::string utf8(const fs::path &path) {
        const std::u8string text = path.u8string();
        return std::string(text.begin(), text.end());
    }
    fs::path path;
};

std::string readAll(const std::string &path) {
    std::ifstream in(fs::u8path(path), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string formatted(int hour, int minute, int second) {
    SYSTEMTIME at{2000, 1, 6, 1, WORD(hour), WORD(minute), WORD(second), 0};
    char text[64];
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &at, nullptr, text, sizeof text);
    return text;
}

} // namespace

TEST_CASE("paths use backslashes and a drive root comes back as C:") {
    for (const test::LogPathCase &c : test::LogPathCases) {
        CAPTURE(c.name);
        CHECK(dailyLogPath(test::withSeparator(c.folder, '\\'), {2003, 12, 2}) ==
              test::withSeparator(c.expected, '\\'));
    }
    CHECK(form::cleanFolderPath("C:\\") == "C:");
    CHECK(form::cleanFolderPath("D:\\Logs") == "D:\\Logs");
}

TEST_CASE("a line is the user's long time format, ended by CR LF") {
    CHECK(timeLine({14, 3, 12}) == formatted(14, 3, 12) + "\r\n");
    // Under Wine with LANG=en_US: a 12-hour clock without a leading zero.
    CHECK(timeLine({6, 57, 27}) == "6:57:27 AM\r\n");
}

TEST_CASE("the report reads the lines the program writes under the user's locale") {
    std::string text;
    for (int t = 9 * 3600 + 10; t <= 17 * 3600; t += 10)
        text += timeLine({t / 3600, t / 60 % 60, t % 60});
    const report::DayRecord day = report::dayFromText(text, {2003, 12, 2}, report::localMarkers());
    CHECK(day.unreadableLines.empty());
    CHECK(day.totalSeconds() == 8 * 3600);
}

TEST_CASE("the report command takes a drive root as the program stores it, and /? for help") {
    for (const std::vector<std::string> &arguments :
         {std::vector<std::string>{"--folder", "C:"}, std::vector<std::string>{"/?"}}) {
        std::ostringstream out, err;
        CAPTURE(arguments.front());
        CHECK(report::runReportCommand(arguments, {2003, 12, 2}, {}, out, err) == 0);
        CHECK(err.str().empty());
    }
}

TEST_CASE("logging writes, reads back and changes day on Windows files") {
    TempFolder folder;
    test::FakeClock clock({{2003, 12, 2}, {23, 59, 58}});
    test::ManualTimer timer;
    LoggingControl control(clock, timer, systemLogStore(), folder.file("held-lines"));
    std::string shown, failure, notice;
    control.setListener({{},
                         [&](const std::string &text) { shown = text; },
                         [&](const std::string &text) { failure = text; },
                         [&](const LoggingNotice &told) { notice = told.text; }});
    control.setFolder(folder.path.string());
    control.start();
    REQUIRE(control.isLogging());
    timer.fire();
    control.showRecentLog();
    CHECK(shown == formatted(23, 59, 58) + "\r\n");
    clock.advance(4);
    timer.fire(); // into the new day's file
    control.stop();
    CHECK(readAll(folder.file("2003-12-02.log")) == formatted(23, 59, 58) + "\r\n");
    CHECK(readAll(folder.file("2003-12-03.log")) == formatted(0, 0, 2) + "\r\n");
    CHECK(failure.empty());

    // A folder that is not there: the path and the system's reason, told
    // without stopping; the line waits in the spool until the folder comes.
    control.setFolder(folder.file("gone"));
    control.start();
    CHECK(control.isLogging());
    CHECK(failure.empty());
    CHECK(notice.find(folder.file("gone") + "\\2003-12-03.log\n") != std::string::npos);
    CHECK_FALSE(notice.find(".log\n\n") != std::string::npos); // a reason is there
    clock.advance(1);
    timer.fire();
    CHECK(readAll(folder.file("held-lines")).find(formatted(0, 0, 3) + "\n") != std::string::npos);
    fs::create_directories(folder.file("gone"));
    clock.advance(1);
    timer.fire();
    CHECK(readAll(folder.file("gone\\2003-12-03.log")) ==
          formatted(0, 0, 3) + "\r\n" + formatted(0, 0, 4) + "\r\n");
    CHECK(notice.find("1 held line was") != std::string::npos);
    control.stop();
}

// Two writers of one file, as two machines on a share: each write of an
// append handle goes to the end the file has at that moment, after what the
// other added, never over it. (Wine makes such writes from two threads at
// the same instant no single append, which Windows does; here they take turns.)
TEST_CASE("two writers with the file open at once each append after the other") {
    TempFolder folder;
    const std::string path = folder.file("2003-12-02.log");
    DailyLogFile first, second;
    std::string error;
    REQUIRE(first.open(path, error));
    REQUIRE(second.open(path, error));
    std::string expected;
    for (int i = 0; i < 100; ++i) {
        DailyLogFile &writer = i % 3 == 0 ? second : first;
        const std::string line = std::to_string(i) + (i % 3 == 0 ? " second" : " first") + "\r\n";
        CHECK(writer.append(line, error));
        expected += line;
    }
    first.close();
    second.close();
    CHECK(readAll(path) == expected);
}

TEST_CASE("the tail is the file's end, in characters of the ANSI code page") {
    TempFolder folder;
    const std::string path = folder.file("tail.log");
    std::string content;
    for (int i = 0; i < 5000; ++i)
        content += "12:00:00\r\n";
    content += win32::toAnsi("\xC3\x9C"
                             "ber\r\n"); // "Über"
    std::ofstream(path, std::ios::binary) << content;
    const LogTail tail = readLogTail(path, 32000);
    REQUIRE(tail.status == LogTail::Status::Read);
    CHECK(tail.text.size() == 32000 + 1); // Ü takes two bytes in UTF-8
    CHECK(tail.text.ends_with("\xC3\x9C"
                              "ber\r\n"));
    CHECK(readLogTail(folder.file("absent.log"), 10).status == LogTail::Status::Missing);
}

TEST_CASE("a folder outside the ANSI code page is stored, read back and logged into") {
    const std::string key = "SOFTWARE\\Quorvel\\Test";
    for (const char *name :
         {"\xD0\x96\xD1\x83\xD1\x80\xD0\xBD\xD0\xB0\xD0\xBB "
          "\xD0\xB2\xD1\x80\xD0\xB5\xD0\xBC\xD0\xB5\xD0\xBD\xD0\xB8", // Журнал времени
          "\xE5\xB7\xA5\xE6\x97\xB6\xE8\xAE\xB0\xE5\xBD\x95"}) {      // 工时记录
        CAPTURE(name);
        TempFolder temp;
        const std::string chosen = temp.file(name);
        fs::create_directories(fs::u8path(chosen));
        CHECK(win32::folderRefusal(chosen).empty());
        REQUIRE(SaveSettingString(RegistryRoot::LocalMachine, key, "LogFolder", chosen, ""));
        const std::string stored =
            GetSettingString(RegistryRoot::LocalMachine, key, "LogFolder", "");
        CHECK(stored == chosen);

        test::FakeClock clock({{2003, 12, 2}, {9, 0, 0}});
        test::ManualTimer timer;
        LoggingControl control(clock, timer, systemLogStore(), temp.file("held-lines"));
        std::string failure;
        control.setListener({{}, {}, [&](const std::string &text) { failure = text; }, {}});
        control.setFolder(stored);
        control.start();
        timer.fire();
        control.stop();
        CHECK(failure.empty());
        // The line itself stays in the ANSI code page.
        CHECK(readAll(stored + "\\2003-12-02.log") == formatted(9, 0, 0) + "\r\n");
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
    }
    // A log file's path has room for MAX_PATH - 1 characters.
    CHECK(win32::folderRefusal("C:\\" + std::string(241, 'a')).empty());
    CHECK(win32::folderRefusal("C:\\" + std::string(242, 'a')).find("allows 259") !=
          std::string::npos);
}

TEST_CASE("a text too long for a field of the icon is cut where a character ends") {
    using wendle::win32::copyToField;
    wchar_t field[5];
    copyToField("\xD0\x96\xD1\x83\xD1\x80\xD0\xBD", field, 5); // four Cyrillic letters fit
    CHECK(std::wstring(field) == L"\x0416\x0443\x0440\x043D");
    copyToField("abc\xF0\x9F\x95\x92", field, 5); // a clock face beyond the BMP: two halves
    CHECK(std::wstring(field) == L"abc");
    copyToField("ab\xF0\x9F\x95\x92", field, 5);
    CHECK(std::wstring(field) == L"ab\xD83D\xDD52");
}
