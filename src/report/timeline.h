#pragma once

#include "report/day_record.h"

#include <string>
#include <vector>

namespace wendle::report {

// The record as a picture, a row a day and an axis from 00:00 to 24:00, laid
// out once and drawn by whoever shows it: an SVG file, a Qt or a Win32 window.
struct TimelineItem {
    enum class Kind { Box, Line, Text };
    enum class Role { RowBand, Bar, HourLine, AxisText, DayText, TotalText };
    enum class Anchor { Start, Middle, End };
    Kind kind;
    Role role;
    double x, y, width, height; // a line runs from (x, y) to (x + width, y + height)
    std::string text;           // UTF-8; for a bar, what pointing at it shows
    Anchor anchor = Anchor::Start;
};

struct Timeline {
    double width = 0, height = 0;
    double fontSize = 0;
    std::vector<TimelineItem> items;
};

struct TimelineMetrics {
    double width = 900;
    double rowHeight = 24;
    double fontSize = 12;
    double dayColumn = 110;   // "Tue 2026-12-01"
    double totalColumn = 110; // "10 h 20 min 5 s"
};

// Days in the order they are shown, top to bottom.
Timeline layOutTimeline(const std::vector<DayRecord> &days, const TimelineMetrics &metrics = {});

// "09:00:00 – 12:30:00 (3 h 30 min)".
std::string stretchText(const Stretch &stretch);

// What pointing at (x, y) shows: the text of the stretch there, or nothing.
std::string timelineTextAt(const Timeline &timeline, double x, double y);

// A standalone SVG document; a bar's text shows when the pointer rests on it.
std::string timelineSvg(const Timeline &timeline);

// The colours of the roles, 0xRRGGBB.
unsigned roleColor(TimelineItem::Role role);

} // namespace wendle::report
