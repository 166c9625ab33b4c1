// The logging control through outages of its folder, on a fake file system
// and, for files replaced under it, on the real one.
#include "logging/log_paths.h"
#include "logging/logging_control.h"
#include "logging/spool_format.h"
#include "logging/time_line.h"
#include "support/fake_clock.h"
#include "support/fake_log_store.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <vector>

using namespace wendle;
using test::Crash;
using test::FakeClock;
using test::FakeLogStore;
using test::ManualTimer;

namespace {

const std::string Folder = "logs";
const std::string Spool = "state/held-lines";

// A control with what it tells the user written down.
struct Logger {
    Logger(FakeClock &clock, LogStore &store, const std::string &spool = Spool,
           const std::string &folder = Folder)
        : control(clock, timer, store, spool) {
        control.setListener({{},
                             {},
                             [this](const std::string &text) { failures.push_back(text); },
                             [this](const LoggingNotice &notice) { notices.push_back(notice); }});
        control.setFolder(folder);
        control.setIntervalSeconds(1);
    }
    ManualTimer timer;
    LoggingControl control;
    std::vector<std::string> failures;
    std::vector<LoggingNotice> notices;
};

std::string lines(std::initializer_list<LocalTime> times) {
    std::string text;
    for (const LocalTime &time : times)
        text += timeLine(time);
    return text;
}

std::string path(const LocalDate &date) {
    return dailyLogPath(Folder, date);
}

namespace fs = std::filesystem;

// A log folder and a state folder of the test's own on the real file system.
struct RealFolders {
    RealFolders() {
        const std::string own =
            std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
        log = fs::temp_directory_path() / ("wendle-outages-" + own);
        state = fs::temp_directory_path() / ("wendle-outages-state-" + own);
        fs::create_directories(log);
    }
    ~RealFolders() {
        std::error_code ignored;
        fs::remove_all(log, ignored);
        fs::remove_all(state, ignored);
    }
    std::string spool() const { return (state / "held-lines").string(); }
    std::string content(const char *name) const {
        std::ifstream in(log / name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    fs::path log, state;
};

} // namespace

TEST_CASE("an outage across midnight is held and written in order, each line in its day") {
    FakeClock clock({{2003, 12, 2}, {23, 59, 58}});
    FakeLogStore store;
    Logger logger(clock, store);
    logger.control.start();
    clock.advance(1);
    logger.timer.fire(); // 23:59:59
    store.refuse(Folder, "No space left on device");
    for (int i = 0; i < 3; ++i) {
        clock.advance(1);
        logger.timer.fire(); // 00:00:00 to 00:00:02, held
    }
    CHECK(logger.control.isLogging());
    CHECK(logger.timer.isActive());
    CHECK(logger.failures.empty());
    REQUIRE(logger.notices.size() == 1); // told once, not at every tick
    CHECK(logger.notices[0].trouble);
    CHECK(logger.notices[0].text.find(path({2003, 12, 3})) != std::string::npos);
    CHECK(logger.notices[0].text.find("No space left on device") != std::string::npos);
    CHECK(logger.notices[0].text.find(Spool) != std::string::npos);
    CHECK(logger.control.heldLines().size() == 3);

    store.accept(Folder);
    clock.advance(1);
    logger.timer.fire(); // 00:00:03
    CHECK(store.file(path({2003, 12, 2})) == lines({{23, 59, 59}}));
    CHECK(store.file(path({2003, 12, 3})) == lines({{0, 0, 0}, {0, 0, 1}, {0, 0, 2}, {0, 0, 3}}));
    REQUIRE(logger.notices.size() == 2);
    CHECK_FALSE(logger.notices[1].trouble);
    CHECK(logger.notices[1].text.find("3 held lines") != std::string::npos);
    CHECK(logger.control.heldLines().empty());
    CHECK(store.file(Spool) == "<missing>");
}

TEST_CASE("held lines survive a crash and are written by the next run") {
    FakeClock clock({{2003, 12, 2}, {10, 0, 0}});
    FakeLogStore store;
    store.refuse(Folder, "No such file or directory");
    {
        Logger first(clock, store); // the folder is not there yet at login
        first.control.start();
        CHECK(first.control.isLogging());
        REQUIRE(first.notices.size() == 1);
        for (int i = 0; i < 2; ++i) {
            clock.advance(1);
            first.timer.fire();
        }
        // Killed here: no Stop.
    }
    CHECK(store.file(path({2003, 12, 2})) == "<missing>");
    store.accept(Folder);
    Logger second(clock, store);
    CHECK(second.control.heldLines().size() == 2);
    second.control.start();
    REQUIRE(second.notices.size() == 1);
    CHECK_FALSE(second.notices[0].trouble);
    CHECK(second.notices[0].text.find("2 held lines") != std::string::npos);
    clock.advance(1);
    second.timer.fire();
    CHECK(store.file(path({2003, 12, 2})) == lines({{10, 0, 1}, {10, 0, 2}, {10, 0, 3}}));
    CHECK(store.file(Spool) == "<missing>");
}

TEST_CASE("with the spool unwritable too, lines wait in memory and the user is told so") {
    FakeClock clock({{2003, 12, 2}, {10, 0, 0}});
    FakeLogStore store;
    Logger logger(clock, store);
    logger.control.start();
    store.refuse(Folder, "Read-only file system");
    store.refuse("state", "Read-only file system");
    clock.advance(1);
    logger.timer.fire();
    REQUIRE(logger.notices.size() == 1);
    CHECK(logger.notices[0].text.find("in memory only") != std::string::npos);
    store.accept(Folder);
    store.accept("state");
    clock.advance(1);
    logger.timer.fire();
    CHECK(store.file(path({2003, 12, 2})) == lines({{10, 0, 1}, {10, 0, 2}}));
}

TEST_CASE("only a folder never chosen stops Start with a message") {
    FakeClock clock;
    FakeLogStore store;
    Logger logger(clock, store);
    logger.control.setFolder("");
    logger.control.start();
    CHECK_FALSE(logger.control.isLogging());
    CHECK(logger.control.logFileNumber() == 0);
    REQUIRE(logger.failures.size() == 1);
    CHECK(logger.failures[0].find("No folder") != std::string::npos);
}

// A tick run a hair before a second's edge: the line and the next schedule
// come from the same reading, so the next second is not skipped.
TEST_CASE("one clock reading per tick") {
    FakeClock clock({{2003, 12, 2}, {14, 3, 12}});
    FakeLogStore store;
    Logger logger(clock, store);
    logger.control.start(); // the first tick is set for 14:03:13.500
    clock.setStepPerReading(2);
    clock.advanceMilliseconds(logger.timer.delay() + 499); // 14:03:13.999 when read
    logger.timer.fire();
    CHECK(logger.timer.delay() == 501); // 14:03:14.500, from the tick's own reading
    clock.advanceMilliseconds(logger.timer.delay());
    logger.timer.fire();
    CHECK(store.file(path({2003, 12, 2})) == lines({{14, 3, 13}, {14, 3, 14}}));
}

// The file is never held open: whatever today's path names at a tick gets
// the line, however it was deleted or replaced between ticks.
TEST_CASE("a deleted or replaced file is followed at the next tick") {
    RealFolders folders;
    FakeClock clock({{2003, 12, 2}, {9, 0, 0}});
    ManualTimer timer;
    LoggingControl control(clock, timer, systemLogStore(), folders.spool());
    control.setFolder(folders.log.string());
    control.start();
    const fs::path file = folders.log / "2003-12-02.log";
    const auto content = [&] { return folders.content("2003-12-02.log"); };
    clock.advance(10);
    timer.fire();
    fs::remove(file); // deleted
    clock.advance(10);
    timer.fire();
    CHECK(content() == lines({{9, 0, 20}}));
    std::ofstream(folders.log / "synced.tmp", std::ios::binary) << lines({{8, 0, 0}});
    fs::rename(folders.log / "synced.tmp", file); // replaced, as sync tools do
    clock.advance(10);
    timer.fire();
    CHECK(content() == lines({{8, 0, 0}, {9, 0, 30}}));
    fs::remove_all(folders.log); // the folder removed and made again
    clock.advance(10);
    timer.fire();
    fs::create_directories(folders.log);
    clock.advance(10);
    timer.fire();
    CHECK(content() == lines({{9, 0, 40}, {9, 0, 50}}));
    control.stop();
}

// A second copy finds the spool owned: it holds its lines in memory, never
// touching the first one's, and takes the spool over, with every line in
// it, once the first has gone.
TEST_CASE("two copies on one spool never lose or write twice each other's held lines") {
    RealFolders folders;
    fs::remove(folders.log); // not there yet
    FakeClock clock({{2003, 12, 2}, {10, 0, 0}});
    const auto spooled = [&] {
        std::ifstream in(folders.spool(), std::ios::binary);
        std::string line;
        int count = 0;
        while (std::getline(in, line))
            count += line.starts_with("L ");
        return count;
    };
    const auto tick = [&](Logger &logger) {
        clock.advance(1);
        logger.timer.fire();
    };
    auto first =
        std::make_unique<Logger>(clock, systemLogStore(), folders.spool(), folders.log.string());
    first->control.start();
    tick(*first); // 10:00:01 and 10:00:02, in the spool
    tick(*first);
    Logger second(clock, systemLogStore(), folders.spool(), folders.log.string());
    second.control.start();
    REQUIRE(second.notices.size() == 1);
    CHECK(second.notices[0].text.find("in memory only") != std::string::npos);
    CHECK(second.notices[0].text.find("another running copy") != std::string::npos);
    tick(second); // 10:00:03, in memory
    CHECK(spooled() == 2);
    first.reset(); // gone, without a Stop
    tick(second);  // 10:00:04: the spool is the second's now, with the first's lines
    CHECK(second.control.heldLines().size() == 4);
    CHECK(spooled() == 4);
    fs::create_directories(folders.log);
    tick(second);
    CHECK(folders.content("2003-12-02.log") ==
          lines({{10, 0, 1}, {10, 0, 2}, {10, 0, 3}, {10, 0, 4}, {10, 0, 5}}));
    CHECK_FALSE(fs::exists(folders.spool()));
}

// In a folder others can write, a link under tomorrow's name could lead to
// any file of the user's: it is refused, and the lines wait until it goes.
TEST_CASE("a link planted as tomorrow's file is not followed") {
    RealFolders folders;
    const fs::path target = folders.log.parent_path() / (folders.log.filename().string() + ".rc");
    std::ofstream(target, std::ios::binary) << "keep\n";
    const fs::path link = folders.log / "2003-12-03.log";
    std::error_code failure;
    fs::create_symlink(target, link, failure);
    if (failure) {
        MESSAGE("no symbolic links here: " << failure.message());
        return;
    }
    FakeClock clock({{2003, 12, 2}, {23, 59, 59}});
    Logger logger(clock, systemLogStore(), folders.spool(), folders.log.string());
    logger.control.start();
    clock.advance(1);
    logger.timer.fire(); // 00:00:00
    std::ifstream in(target, std::ios::binary);
    std::string kept((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    CHECK(kept == "keep\n");
    REQUIRE(logger.notices.size() == 1);
    CHECK(logger.notices[0].text.find("is not a regular file") != std::string::npos);
    CHECK(logger.control.heldLines().size() == 1);
    fs::remove(link);
    clock.advance(1);
    logger.timer.fire();
    CHECK(fs::is_regular_file(fs::symlink_status(link)));
    CHECK(folders.content("2003-12-03.log") == lines({{0, 0, 0}, {0, 0, 1}}));
    logger.control.stop();
    fs::remove(target);
}

// What an earlier version or a crash left: a record cut short, one damaged,
// a date that does not exist. What cannot be read is set aside and told, the
// rest goes to its own folder's file.
TEST_CASE("a damaged spool: unreadable records are set aside, the rest filed where it belongs") {
    const LocalDate day{2003, 12, 2};
    const auto at = [](int second) { return timeLine({10, 0, second}); };
    // As that version kept them: without CR LF.
    const auto bare = [&](int second) { return at(second).substr(0, at(second).size() - 2); };
    std::string damaged = spool::lineRecord(0, day, at(1));
    damaged[12] ^= 1;
    const std::string torn = spool::lineRecord(1, day, at(4));
    const struct {
        std::string name;
        std::string spool;
        std::size_t setAside;
    } cases[] = {
        {"the earlier version's, appended after a cut line",
         "\tfolder\tlogs\n\tdate\t2003-12-02\n" + bare(0) + "\n" + bare(1).substr(0, 5) +
             "\tfolder\tother\n\tdate\t2003-02-31\n" + bare(2) + "\n\tdate\t2003-12-02\n" +
             bare(3) + "\n",
         3},
        {"this version's",
         std::string(spool::Header) + spool::folderRecord(0, "logs") +
             spool::lineRecord(0, day, at(0)) + damaged + spool::folderRecord(1, "other") +
             spool::lineRecord(1, day, at(3)) + torn.substr(0, torn.size() / 2),
         1},
    };
    for (const auto &c : cases) {
        CAPTURE(c.name);
        FakeClock clock({day, {10, 0, 10}});
        FakeLogStore store;
        store.files[Spool] = c.spool;
        Logger logger(clock, store);
        CHECK(logger.control.heldLines().size() == 2);
        CHECK(store.file(Spool).starts_with(spool::Header)); // written anew at once
        logger.control.start();
        REQUIRE(logger.failures.size() == 1);
        CHECK(logger.failures[0].starts_with(std::to_string(c.setAside) + " held line"));
        CHECK(logger.failures[0].find("could not be read") != std::string::npos);
        const std::string setAside = store.file(Spool + ".unreadable");
        CHECK(std::size_t(std::count(setAside.begin(), setAside.end(), '\n')) == c.setAside);
        CHECK(store.file(path(day)) == lines({{10, 0, 0}}));
        CHECK(store.file(dailyLogPath("other", day)) == lines({{10, 0, 3}}));
        CHECK(logger.control.heldLines().empty());
    }
}

namespace {

struct Held {
    std::string folder;
    LocalDate date;
    std::string text;
};

// Each line of the day files, by file.
std::map<std::string, std::vector<std::string>> dayFileLines(const FakeLogStore &store) {
    std::map<std::string, std::vector<std::string>> lines;
    for (const auto &[path, bytes] : store.files) {
        if (path.starts_with("state/"))
            continue;
        std::size_t from = 0;
        for (std::size_t end; (end = bytes.find("\r\n", from)) != std::string::npos; from = end + 2)
            lines[path].push_back(bytes.substr(from, end - from) + "\r\n");
        if (from < bytes.size())
            lines[path].push_back(bytes.substr(from));
    }
    return lines;
}

} // namespace

// Lines held through outages of two folders, across midnight and a change of
// folder, run whole and then "crashed" at each write in turn (the write
// leaving none, half or all of its bytes), then started again with both
// folders back: every line whose tick had ended is in its own day's file
// exactly once, or still held; the one in flight is there at most once; no
// line is anywhere else, and nothing is set aside as unreadable.
TEST_CASE("a crash at any write of the spool or a day's file loses no line and writes none twice") {
    const std::string Other = "other";
    const auto run = [&](FakeLogStore &store, std::vector<Held> &ended,
                         std::vector<Held> &inFlight) {
        FakeClock clock({{2003, 12, 2}, {23, 59, 57}});
        const auto tick = [&](Logger &logger, int seconds) {
            clock.advance(seconds);
            const LocalDateTime at = clock.now();
            inFlight = {{logger.control.folder(), at.date, timeLine(at.time)}};
            logger.timer.fire();
            ended.push_back(inFlight.front());
            inFlight.clear();
        };
        try {
            Logger logger(clock, store);
            logger.control.start();
            tick(logger, 1); // 23:59:58, written
            store.refuse(Folder, "No such file or directory");
            tick(logger, 1); // held, and the next across midnight
            tick(logger, 1);
            logger.control.setFolder(Other);
            tick(logger, 1); // 00:00:01 into the other folder
            store.refuse(Other, "No space left on device");
            tick(logger, 1); // held for it
            store.acceptAll();
            tick(logger, 1);  // its held line first, then this one
            tick(logger, 60); // the first folder's lines, tried again at last
            logger.control.stop();
        } catch (const Crash &) {
        }
        const std::vector<Held> crashed = inFlight;
        // Started again, with both folders back.
        store.dropLocks();
        store.crashAt = 0;
        store.acceptAll();
        clock.advance(100);
        Logger again(clock, store);
        again.control.setFolder(Other);
        again.control.start();
        tick(again, 1);
        again.control.stop();
        CHECK(again.control.heldLines().empty());
        inFlight = crashed;
    };

    FakeLogStore whole;
    std::vector<Held> ended, inFlight;
    run(whole, ended, inFlight);
    REQUIRE(ended.size() == 8);
    const int writes = whole.writes;
    for (int crashAt = 1; crashAt <= writes; ++crashAt) {
        for (const FakeLogStore::Torn torn :
             {FakeLogStore::Torn::Nothing, FakeLogStore::Torn::Half, FakeLogStore::Torn::All}) {
            CAPTURE(crashAt);
            CAPTURE(int(torn));
            FakeLogStore store;
            store.crashAt = crashAt;
            store.tornAt = torn;
            ended.clear();
            inFlight.clear();
            run(store, ended, inFlight);
            const auto files = dayFileLines(store);
            std::vector<Held> expected = ended;
            expected.insert(expected.end(), inFlight.begin(), inFlight.end());
            for (const auto &[path, lines] : files) {
                for (const std::string &line : lines) {
                    CAPTURE(path);
                    CAPTURE(line);
                    // Only lines of this file, or what a crash cut short of one.
                    const std::string cut = line.substr(0, line.find('\r'));
                    CHECK(std::any_of(expected.begin(), expected.end(), [&](const Held &held) {
                        return line == held.text ? dailyLogPath(held.folder, held.date) == path
                                                 : held.text.starts_with(cut);
                    }));
                }
            }
            for (const Held &held : expected) {
                const auto found = files.find(dailyLogPath(held.folder, held.date));
                const long count =
                    found == files.end()
                        ? 0
                        : std::count(found->second.begin(), found->second.end(), held.text);
                CAPTURE(held.text);
                const bool wasInFlight = !inFlight.empty() && held.text == inFlight[0].text;
                CHECK(count <= 1);
                CHECK((count == 1 || wasInFlight));
            }
            CHECK(store.file(Spool) == "<missing>");
            CHECK(store.file(Spool + ".unreadable") == "<missing>");
        }
    }
}
