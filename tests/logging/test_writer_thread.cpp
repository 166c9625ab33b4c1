// The logging control with its writer on a thread of its own, over a log
// folder that stops answering, as a hard-mounted share does: the window's
// thread (the test's) never waits for it.
#include "logging/log_paths.h"
#include "logging/logging_control.h"
#include "logging/time_line.h"
#include "support/fake_clock.h"
#include "support/fake_log_store.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <vector>

using namespace wendle;
using namespace std::chrono_literals;
using test::FakeClock;
using test::ManualTimer;

namespace {

// A folder of the test's own on the real disk, so that Show Recent Log
// reads what the writer wrote.
struct Place {
    Place() { std::filesystem::create_directories(root / "share"); }
    ~Place() { std::filesystem::remove_all(root); }
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() /
        ("wendle-writer-" +
         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    const std::string folder = (root / "share").string();
    const std::string spool = (root / "state" / "held-lines").string();
    const std::string today = dailyLogPath(folder, {2003, 12, 2});
};

// Files whose folder can be stalled: a write there then waits until it is
// let go.
class StallingStore final : public LogStore {
public:
    StallingStore(LogStore &files, std::string folder)
        : m_files(files), m_folder(std::move(folder)) {}

    bool append(const std::string &path, const std::string &bytes, bool makeFolder,
                std::string &error) override {
        std::unique_lock lock(m_mutex);
        if (path.starts_with(m_folder)) {
            ++m_waiting;
            m_changed.notify_all();
            m_changed.wait(lock, [this] { return !m_stalled; });
            --m_waiting;
        }
        const bool written = m_files.append(path, bytes, makeFolder, error);
        ++m_writes;
        m_changed.notify_all();
        return written;
    }
    std::optional<std::string> read(const std::string &path) override {
        std::lock_guard lock(m_mutex);
        return m_files.read(path);
    }
    bool replace(const std::string &path, const std::string &bytes, std::string &error) override {
        std::lock_guard lock(m_mutex);
        const bool replaced = m_files.replace(path, bytes, error);
        m_changed.notify_all();
        return replaced;
    }
    std::optional<std::uint64_t> size(const std::string &path) override {
        std::lock_guard lock(m_mutex);
        return m_files.size(path);
    }
    bool lock(const std::string &path, std::string &error) override {
        return m_files.lock(path, error);
    }
    void unlock(const std::string &path) override { m_files.unlock(path); }

    void stall() {
        std::lock_guard lock(m_mutex);
        m_stalled = true;
    }
    void release() {
        std::lock_guard lock(m_mutex);
        m_stalled = false;
        m_changed.notify_all();
    }
    // Generous bounds: a loaded machine with sanitizers is slow.
    bool waitForFile(const std::string &path, const std::string &content) {
        return waitFor([&] { return fileNow(path) == content; });
    }
    bool waitForStuckWrite() {
        return waitFor([this] { return m_waiting > 0; });
    }
    bool waitForWrites(int count) {
        return waitFor([&] { return m_writes >= count; });
    }
    std::string file(const std::string &path) {
        std::lock_guard lock(m_mutex);
        return fileNow(path);
    }

private:
    bool waitFor(const std::function<bool()> &done) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, 60s, done);
    }
    std::string fileNow(const std::string &path) {
        return m_files.read(path).value_or("<missing>");
    }

    LogStore &m_files;
    const std::string m_folder;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_stalled = false;
    int m_waiting = 0;
    int m_writes = 0;
};

// The window's thread, which is the test's: what the writer posts waits
// until the test runs it.
class WindowQueue {
public:
    PostToWindow post() {
        return [this](std::function<void()> event) {
            std::lock_guard lock(m_mutex);
            m_events.push_back(std::move(event));
            m_posted.notify_all();
        };
    }
    // Runs what comes until done() holds.
    bool runUntil(const std::function<bool()> &done) {
        const auto until = std::chrono::steady_clock::now() + 60s;
        while (!done()) {
            std::unique_lock lock(m_mutex);
            if (!m_posted.wait_until(lock, until, [this] { return !m_events.empty(); }))
                return false;
            const std::function<void()> event = std::move(m_events.front());
            m_events.pop_front();
            lock.unlock();
            event();
        }
        return true;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_posted;
    std::deque<std::function<void()>> m_events;
};

std::string linesFrom(LocalTime time, int count) {
    std::string text;
    for (int i = 0; i < count; ++i, ++time.second)
        text += timeLine(time);
    return text;
}

struct Logger {
    Logger(FakeClock &clock, StallingStore &store, WindowQueue &window, const Place &place)
        : control(clock, timer, store, place.spool, window.post()) {
        control.setListener({[this](bool logging) { looks.push_back(logging); },
                             [this](const std::string &text) { shown.push_back(text); },
                             [this](const std::string &text) { failures.push_back(text); },
                             {}});
        control.setFolder(place.folder);
        control.setIntervalSeconds(1);
    }
    void tick(FakeClock &clock) {
        clock.advance(1);
        timer.fire();
    }
    ManualTimer timer;
    LoggingControl control;
    std::vector<bool> looks;
    std::vector<std::string> shown;
    std::vector<std::string> failures;
};

} // namespace

TEST_CASE("a stuck write holds up neither ticks, Stop nor Show Recent Log; its lines follow in "
          "order") {
    const Place place;
    FakeClock clock({{2003, 12, 2}, {10, 0, 0}});
    StallingStore store(systemLogStore(), place.folder);
    WindowQueue window;
    Logger logger(clock, store, window, place);
    logger.control.start();
    REQUIRE(store.waitForFile(place.today, ""));
    store.stall();
    for (int i = 0; i < 5; ++i)
        logger.tick(clock); // 10:00:01 to 10:00:05, the first one stuck
    REQUIRE(store.waitForStuckWrite());
    CHECK(logger.timer.isActive());
    logger.control.showRecentLog();
    logger.control.stop();
    CHECK_FALSE(logger.control.isLogging());
    CHECK_FALSE(logger.timer.isActive());
    CHECK(logger.looks == std::vector<bool>{true, false});
    CHECK(store.file(place.today).empty());

    store.release();
    // Read after the lines that were given before it.
    REQUIRE(window.runUntil([&] { return !logger.shown.empty(); }));
    CHECK(logger.shown[0] == linesFrom({10, 0, 1}, 5));
    CHECK(store.file(place.today) == linesFrom({10, 0, 1}, 5));
    CHECK(logger.failures.empty());
}

TEST_CASE("the end of the program waits a bounded time for a stuck write, and the next run writes "
          "what waited") {
    const Place place;
    FakeClock clock({{2003, 12, 2}, {10, 0, 0}});
    StallingStore store(systemLogStore(), place.folder);
    {
        WindowQueue window;
        Logger logger(clock, store, window, place);
        logger.control.start();
        REQUIRE(store.waitForFile(place.today, ""));
        store.stall();
        for (int i = 0; i < 3; ++i)
            logger.tick(clock);
        REQUIRE(store.waitForStuckWrite());
        logger.control.stop();
    } // gone, its writer still stuck
    // As when the process has ended: the system lets its lock on the spool go.
    systemLogStore().unlock(place.spool + ".lock");
    // The line in flight and those behind it.
    {
        HeldLines spooled(store, place.spool);
        spooled.load();
        CHECK(spooled.size() == 3);
    }
    store.release();
    // Let go, the writer finishes the write it was in and touches nothing else.
    REQUIRE(store.waitForFile(place.today, linesFrom({10, 0, 1}, 1)));

    ManualTimer timer;
    LoggingControl next(clock, timer, store, place.spool);
    CHECK(next.heldLines().size() == 3);
    next.setFolder(place.folder);
    next.start();
    // The line in flight twice: a repeated second, which the report counts once.
    CHECK(store.file(place.today) == linesFrom({10, 0, 1}, 1) + linesFrom({10, 0, 1}, 3));
    CHECK(store.file(place.spool) == "<missing>");
}

TEST_CASE("lines that wait for a stuck write are bounded: logging stops and keeps them") {
    test::FakeLogStore memory;
    const std::string folder = "share";
    StallingStore store(memory, folder);
    FakeClock clock({{2003, 12, 2}, {10, 0, 0}});
    WindowQueue window;
    Place place;
    Logger logger(clock, store, window, place);
    logger.control.setFolder(folder);
    logger.control.start();
    REQUIRE(store.waitForWrites(1));
    store.stall();
    int ticks = 0;
    while (logger.control.isLogging() && ticks < int(WriterThread::MaxWaiting) + 10) {
        logger.tick(clock);
        ++ticks;
    }
    CHECK_FALSE(logger.control.isLogging());
    // The one in flight, those that wait, and the one refused: none lost.
    CHECK(ticks == int(WriterThread::MaxWaiting) + 2);
    REQUIRE(logger.failures.size() == 1);
    CHECK(logger.failures[0].find("does not answer") != std::string::npos);
    store.release();
    REQUIRE(store.waitForWrites(1 + ticks - 1));
    // A day of lines and more, into two days' files.
    const std::string written = store.file(dailyLogPath(folder, {2003, 12, 2})) +
                                store.file(dailyLogPath(folder, {2003, 12, 3}));
    CHECK(std::count(written.begin(), written.end(), '\n') == ticks - 1);
}
