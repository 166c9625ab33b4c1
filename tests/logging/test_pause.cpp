// Pause While Locked: one table of what the session's sources say, against
// the pause, the next tick and the lines written; then held lines tried
// through a lock.
#include "logging/log_paths.h"
#include "logging/logging_control.h"
#include "logging/time_line.h"
#include "support/fake_clock.h"
#include "support/fake_log_store.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace wendle;
using test::FakeClock;
using test::FakeLogStore;
using test::ManualTimer;

namespace {

const std::string Folder = "logs";
const LocalDate Day{2003, 12, 2};

enum class Do { Fire, Say, Sleep, SettingOff, SettingOn, Stop, Start };
using S = PauseSource;
using R = PauseReason;
constexpr int NoTick = -1;

struct Row {
    const char *what;
    int after; // ms on both clocks, or on the wall clock alone for Sleep
    Do action;
    S source;
    bool on;
    R reason;
    int nextTick; // ms of wall clock since Start, or NoTick
    int lines;    // in the day's file so far
};

// Start at 14:03:12.000, at one line a second: the first tick at 1.5 s.
const Row Rows[] = {
    {"a tick writes", 1500, Do::Fire, {}, {}, R::None, 2500, 1},
    {"the screen saver locks", 200, Do::Say, S::ScreenSaver, true, R::Locked, NoTick, 1},
    {"GNOME's too", 100, Do::Say, S::GnomeScreenSaver, true, R::Locked, NoTick, 1},
    {"logind's hint", 100, Do::Say, S::SessionLockedHint, true, R::Locked, NoTick, 1},
    {"the hint again", 10, Do::Say, S::SessionLockedHint, true, R::Locked, NoTick, 1},
    {"a tick already on its way", 590, Do::Fire, {}, {}, R::Locked, NoTick, 1},
    {"one source unlocks", 2700, Do::Say, S::ScreenSaver, false, R::Locked, NoTick, 1},
    {"its unlock again", 10, Do::Say, S::ScreenSaver, false, R::Locked, NoTick, 1},
    {"a second one", 90, Do::Say, S::GnomeScreenSaver, false, R::Locked, NoTick, 1},
    {"the last: one interval on", 100, Do::Say, S::SessionLockedHint, false, R::None, 6500, 1},
    {"the tick after the lock", 1100, Do::Fire, {}, {}, R::None, 7500, 2},
    {"logind's Lock", 500, Do::Say, S::SessionLock, true, R::Locked, NoTick, 2},
    {"Lock twice", 0, Do::Say, S::SessionLock, true, R::Locked, NoTick, 2},
    {"the locker's hint", 100, Do::Say, S::SessionLockedHint, true, R::Locked, NoTick, 2},
    {"unlocked at the locker, no Unlock", 1900, Do::Say, S::SessionLockedHint, false, R::None,
     10500, 2},
    {"a tick", 1500, Do::Fire, {}, {}, R::None, 11500, 3},
    {"to sleep", 100, Do::Say, S::Sleep, true, R::Asleep, NoTick, 3},
    {"locked on the way", 100, Do::Say, S::ScreenSaver, true, R::Asleep, NoTick, 3},
    {"asleep", 60000, Do::Sleep, {}, {}, R::Asleep, NoTick, 3},
    {"awake, still locked", 200, Do::Say, S::Sleep, false, R::Locked, NoTick, 3},
    {"unlocked", 1000, Do::Say, S::ScreenSaver, false, R::None, 73500, 3},
    {"another session in front", 300, Do::Say, S::SessionInactive, true, R::SwitchedAway, NoTick,
     3},
    {"and locked too", 100, Do::Say, S::WindowsLock, true, R::SwitchedAway, NoTick, 3},
    {"back, still locked", 5000, Do::Say, S::SessionInactive, false, R::Locked, NoTick, 3},
    {"unlocked", 600, Do::Say, S::WindowsLock, false, R::None, 79500, 3},
    {"a tick", 1600, Do::Fire, {}, {}, R::None, 80500, 4},
    {"asleep unannounced", 30000, Do::Sleep, {}, {}, R::None, 80500, 4},
    {"its late tick: no line, one interval on", 0, Do::Fire, {}, {}, R::None, 110500, 4},
    {"the next writes", 1000, Do::Fire, {}, {}, R::None, 111500, 5},
    {"the clock on by less than two intervals", 1500, Do::Sleep, {}, {}, R::None, 111500, 5},
    {"is no sleep", 0, Do::Fire, {}, {}, R::None, 113500, 6},
    {"disconnected", 100, Do::Say, S::Disconnected, true, R::SwitchedAway, NoTick, 6},
    {"the setting off: on at once", 400, Do::SettingOff, {}, {}, R::None, 113500, 6},
    {"off, a lock changes nothing", 100, Do::Say, S::ScreenSaver, true, R::None, 113500, 6},
    {"on again while locked", 100, Do::SettingOn, {}, {}, R::SwitchedAway, NoTick, 6},
    {"Stop while paused", 100, Do::Stop, {}, {}, R::None, NoTick, 6},
    {"a lock while stopped", 100, Do::Say, S::SessionLock, true, R::None, NoTick, 6},
    {"unlocked while stopped", 100, Do::Say, S::ScreenSaver, false, R::None, NoTick, 6},
    {"connected again", 0, Do::Say, S::Disconnected, false, R::None, NoTick, 6},
    {"Start: nothing left of the lock", 100, Do::Start, {}, {}, R::None, 114500, 6},
};

} // namespace

TEST_CASE("the session's sources pause logging and it goes on one interval after") {
    FakeClock clock;
    FakeLogStore store;
    ManualTimer timer;
    LoggingControl control(clock, timer, store, "state/held-lines");
    std::vector<std::string> notes;
    control.setListener(
        {{}, {}, {}, {}, [&](PauseReason, const std::string &note) { notes.push_back(note); }});
    control.setFolder(Folder);
    control.setIntervalSeconds(1);
    control.setPauseWhileLocked(true);
    control.start();
    int wall = 0;
    int due = 0;
    int starts = 0;
    for (const Row &row : Rows) {
        INFO(row.what);
        wall += row.after;
        if (row.action == Do::Sleep)
            clock.sleep(row.after);
        else
            clock.advanceMilliseconds(row.after);
        switch (row.action) {
        case Do::Fire:
            timer.fire();
            break;
        case Do::Say:
            control.pauseSource(row.source, row.on);
            break;
        case Do::SettingOff:
        case Do::SettingOn:
            control.setPauseWhileLocked(row.action == Do::SettingOn);
            break;
        case Do::Stop:
            control.stop();
            break;
        case Do::Start:
            control.start();
            break;
        case Do::Sleep:
            break;
        }
        CHECK(control.pauseReason() == row.reason);
        CHECK(timer.isActive() == (row.nextTick != NoTick));
        if (timer.starts() != starts) {
            starts = timer.starts();
            due = wall + timer.delay();
        }
        if (timer.isActive() && row.nextTick != NoTick)
            CHECK(due == row.nextTick);
        const std::string file = store.file(dailyLogPath(Folder, Day));
        CHECK(std::count(file.begin(), file.end(), '\n') == row.lines);
    }
    // No line inside a pause, none repeated: each a second after Start
    // that a tick was due at.
    std::string expected;
    for (const LocalTime &time : std::vector<LocalTime>{
             {14, 3, 13}, {14, 3, 18}, {14, 3, 22}, {14, 4, 31}, {14, 5, 2}, {14, 5, 4}})
        expected += timeLine(time);
    CHECK(store.file(dailyLogPath(Folder, Day)) == expected);
    // The log view tells of each pause; the file holds time lines only.
    const std::string shown = control.pauseNotes(Day);
    CHECK(shown.find("Logging paused at 14:03:13: the screen is locked.\n") == 0);
    CHECK(shown.find("Logging went on at 14:03:17.\n") != std::string::npos);
    CHECK(shown.find("Still paused at 14:04:22: the screen is locked.\n") != std::string::npos);
    CHECK(shown.find("Logging paused from 14:04:31 to 14:05:01: the computer was asleep.\n") !=
          std::string::npos);
    CHECK(control.pauseNotes({2003, 12, 3}).empty());
    // Each pause and going on told with its line; Stop ends the pause last,
    // with none.
    REQUIRE(notes.size() == 15);
    CHECK(notes.back().empty());
}

TEST_CASE("lines held before a lock are written when the folder comes back, locked or not") {
    FakeClock clock;
    FakeLogStore store;
    ManualTimer timer;
    LoggingControl control(clock, timer, store, "state/held-lines");
    control.setFolder(Folder);
    control.setIntervalSeconds(1);
    control.setPauseWhileLocked(true);
    control.start();
    store.refuse(Folder, "No such device");
    clock.advanceMilliseconds(1500);
    timer.fire();
    CHECK(control.heldLines().size() == 1);
    control.pauseSource(PauseSource::ScreenSaver, true);
    // Still tried while locked, one interval apart; no line of its own.
    REQUIRE(timer.isActive());
    store.accept(Folder);
    clock.advanceMilliseconds(timer.delay());
    timer.fire();
    CHECK(control.heldLines().empty());
    CHECK(store.file(dailyLogPath(Folder, Day)) == timeLine({14, 3, 13}));
    // Written, the tries end.
    CHECK_FALSE(timer.isActive());
}
