#pragma once

#include "report/day_record.h"
#include "report/timeline.h"

#include <string>
#include <vector>

namespace wendle::report {

// The report read out item by item, as a screen reader and the arrow keys
// go through it: each day (date, weekday, total), then its stretches (start,
// end, length).
struct ReportEntry {
    std::size_t day = 0;
    int stretch = -1; // -1 for the day itself
    std::string name;
};
std::vector<ReportEntry> reportEntries(const std::vector<DayRecord> &days);

long grandTotal(const std::vector<DayRecord> &days);

// "Total 12 h 5 min 0 s" and, on lines of their own, the days with lines that
// are not a time of day, then the days whose file could not be read and why.
std::string reportSummary(const std::vector<DayRecord> &days);
// "2026-12-01: lines 3, 17", a day a line, and "2026-12-01 (FILE): line 4" for
// its other files; empty when every line was read.
std::vector<std::string> unreadableNotices(const std::vector<DayRecord> &days);
// "2026-12-09: 1 conflict copy read", and how many were left unread.
std::string copiesNotice(const DayRecord &day);
// The notice of each day that had conflict copies.
std::vector<std::string> copiesNotices(const std::vector<DayRecord> &days);
// "/a", "/a and /b", "/a, /b and /c".
std::string folderListText(const std::vector<std::string> &folders);

// The timeline's title and description, as the SVG file and the report
// window's picture give them to a screen reader: the folder, the range of
// days, the grand total and any unreadable lines.
SvgHeading timelineHeading(const std::string &folder, const LocalDate &from, const LocalDate &to,
                           const std::vector<DayRecord> &days);

} // namespace wendle::report
