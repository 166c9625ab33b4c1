#pragma once

#include "logging/local_time.h"
#include "report/time_of_day.h"

#include <string>
#include <vector>

namespace wendle::report {

// A stretch of logging, in seconds since the day's midnight.
struct Stretch {
    int start = 0;
    int end = 0;
    int seconds() const { return end - start; }
    bool operator==(const Stretch &) const = default;
};

struct DayRecord {
    LocalDate date;
    std::vector<Stretch> stretches;
    std::vector<long> unreadableLines; // 1-based line numbers
    std::string readError;             // the system's reason, when the file is there but unreadable
    long totalSeconds() const;
};

// How lines become stretches. Each line stands for the interval before it:
// a stretch runs from one interval before its first line to its last line.
// Lines stay in one stretch while each gap is at most twice the interval in
// use plus a second (ticks land a second early or late), or while the next
// gap confirms a new interval the slider set (the gap is at least the new
// interval and at most the new one plus the old one and two seconds). The
// first gap of a stretch sets its interval unless the lines go on at a
// clearly shorter one.
// A time that goes back starts a new stretch. A stretch of one line lasts
// the interval of the stretch before it (else after it, else 10 s).
std::vector<Stretch> stretchesOf(const std::vector<int> &times);

// A day's log file as the program writes it: CR LF or LF lines, the last one
// possibly without its end. Lines that are not a time are listed, never
// guessed at; a missing file is a day with nothing logged, a file that
// cannot be read is one too, with the reason.
DayRecord readDay(const std::string &path, const LocalDate &date, const DayHalfMarkers &markers);

// The same from text already read.
DayRecord dayFromText(std::string_view text, const LocalDate &date, const DayHalfMarkers &markers);

} // namespace wendle::report
