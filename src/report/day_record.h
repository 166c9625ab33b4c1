#pragma once

#include "logging/local_time.h"
#include "report/time_of_day.h"

#include <optional>
#include <string>
#include <vector>

namespace wendle::report {

// A stretch of logging, in seconds since the day's midnight on the clock.
struct Stretch {
    int start = 0;
    int end = 0;
    // Clock seconds within it that did not exist (the clock was put forward),
    // less those the clock showed twice (it was put back).
    int skipped = 0;
    int seconds() const { return end - start - skipped; }
    bool operator==(const Stretch &) const = default;
};

// How a day's clock changes: from `start` seconds after midnight it reads
// `length` seconds later (put forward) or, with a negative length, earlier
// (put back: the clock shows the hour before `start` twice).
struct ClockJump {
    int start = 0;
    int length = 0;
};

struct DayRecord {
    LocalDate date;
    std::vector<Stretch> stretches;
    std::vector<long> unreadableLines; // 1-based line numbers
    std::string readError;             // the system's reason, when the file is there but unreadable
    // How far the first line's interval reaches back into the day before:
    // that day's last stretch, when it ends by then, runs to midnight.
    int beforeMidnight = 0;
    // The sync tools' conflict copies the day was read from too, as the
    // report names them, and how many more were not read.
    std::vector<std::string> conflictCopies;
    std::size_t copiesLeft = 0;
    // Lines that are not a time of day in the day's other files: copies and
    // the day files of other folders.
    struct FileLines {
        std::string file;
        std::vector<long> lines;
    };
    std::vector<FileLines> unreadableElsewhere;
    long totalSeconds() const;
};

// A day with nothing read yet, or only the reason why it could not be.
inline DayRecord emptyDay(const LocalDate &date, const std::string &readError = {}) {
    DayRecord day{};
    day.date = date;
    day.readError = readError;
    return day;
}

// Stretches of one day from several files: overlapping ones become one, in
// order of time.
void uniteStretches(std::vector<Stretch> &stretches);

// How lines become stretches. Each line stands for the interval before it:
// a stretch runs from one interval before its first line to its last line.
// Lines stay in one stretch while each gap is at most twice the interval in
// use plus a second (ticks land a second early or late), or while the next
// gap confirms a new interval the slider set (the gap is at least the new
// interval and at most the new one plus the old one and two seconds). The
// first gap of a stretch sets its interval unless the lines go on at a
// clearly shorter one.
// Every start logs every 10 s until the slider moves, so a first gap of 10 s
// stays in the stretch whatever follows. A stretch of one line lasts the
// interval of the stretch before it (else after it, else 10 s).
// Lines that go back in time (two writers sharing the folder with clocks
// apart, a clock set back, the hour repeated when clocks go back) are taken
// as the interleaved lines of several writers: each line follows the writer
// whose last line is latest before it. The day is the union of what all of
// them cover, in order of time, so nothing is counted twice.
// With a jump forward, the seconds that did not exist are not counted and
// never start a stretch. With a jump back, a line that goes back by the jump
// from a writer's line just before it, at the moment the clock is put back,
// is that writer going on: the time passed is counted, not the clock's.
// beforeMidnight, when given, gets the part of the first line's interval
// that lies before the day.
std::vector<Stretch> stretchesOf(const std::vector<int> &times,
                                 std::optional<ClockJump> jump = std::nullopt,
                                 int *beforeMidnight = nullptr);

// The times of a day's lines, as seconds passed since midnight, sorted out
// line by line to the writers that wrote them (see stretchesOf). Each
// writer keeps a second once, so memory stays within a day's seconds for
// each of them, whatever the file's size.
class WriterLines {
public:
    explicit WriterLines(std::optional<ClockJump> jump = std::nullopt) : m_jump(jump) {}
    // A line's time on the clock.
    void add(int clock);
    const std::vector<std::vector<int>> &writers() const { return m_writers; }
    // What writers set aside to make room for new ones covered, and how far
    // their first intervals reach back before midnight.
    const std::vector<Stretch> &setAside() const { return m_setAside; }
    int setAsideReachBack() const { return m_reachBack; }

private:
    int passedAt(int clock) const;

    std::optional<ClockJump> m_jump;
    std::vector<std::vector<int>> m_writers;
    std::vector<Stretch> m_setAside;
    std::size_t m_unitedSize = 0; // of the set-aside stretches when last united
    int m_reachBack = 0;
};

// The union of the writers' stretches, on the clock; see stretchesOf.
std::vector<Stretch> stretchesOfWriters(const WriterLines &lines, std::optional<ClockJump> jump,
                                        int *beforeMidnight);

// The jump of the local clock on that date, in the reader's time zone.
std::optional<ClockJump> clockJumpOn(const LocalDate &date);

// A day's last stretch that a next day's first interval reaches back to
// runs to midnight.
void joinAtMidnight(DayRecord &day, const DayRecord &next);

// A day's log file as the program writes it: CR LF or LF lines, the last one
// possibly without its end. Lines that are not a time are listed, never
// guessed at; a missing file is a day with nothing logged, a file that
// cannot be read is one too, with the reason.
DayRecord readDay(const std::string &path, const LocalDate &date, const DayHalfMarkers &markers);

// The same from text already read.
DayRecord dayFromText(std::string_view text, const LocalDate &date, const DayHalfMarkers &markers);

} // namespace wendle::report
