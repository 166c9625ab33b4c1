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
    int day = -1;     // the row's day, for its band, texts and bars
    int stretch = -1; // the bar's stretch in its day
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

// "09:00:00 – 12:30:00 (3 h 30 min 0 s)".
std::string stretchText(const Stretch &stretch);

// What pointing at (x, y) shows: the text of the stretch there, or nothing.
std::string timelineTextAt(const Timeline &timeline, double x, double y);

// The SVG's title and description, for screen readers and search.
struct SvgHeading {
    std::string title;
    std::string description;
};

// A standalone SVG document; a bar's text shows when the pointer rests on it.
// It follows a dark colour scheme where the viewer prefers one.
std::string timelineSvg(const Timeline &timeline, const SvgHeading &heading = {});

// The colours of the roles, 0xRRGGBB: the window's background and text from
// the user's scheme, the bars one colour that reads the same to colour-blind
// eyes.
struct TimelineColors {
    unsigned background = 0xffffff;
    unsigned band = 0xeef1f5;
    unsigned bar = 0x2f7d4f;
    unsigned hourLine = 0xc4c9d0;
    unsigned axisText = 0x5a6270;
    unsigned text = 0x1d2430;
};
unsigned roleColor(TimelineItem::Role role, const TimelineColors &colors = {});

// Where a day's row (stretch -1) or one of its bars lies; null when the
// timeline has no such item.
const TimelineItem *timelineItemOf(const Timeline &timeline, int day, int stretch);

} // namespace wendle::report
