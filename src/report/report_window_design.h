#pragma once

#include "report/day_record.h"
#include "report/timeline.h"

#include <vector>

namespace wendle::report {

// The report window as both front ends show it.
inline constexpr const char *ReportWindowTitle = "Wendle Report";
// How often the window looks whether a reading of the log is done; the
// reading itself follows today's file off the window's thread.
inline constexpr int ReportFollowMilliseconds = 200;

// What the window's font gives the layout: its line height and the widths
// of the two samples written in it.
inline constexpr const char *DayColumnSample = "Wed 0000-00-00";
inline constexpr const char *TotalColumnSample = "00 h 00 min 00 s";
struct WindowFont {
    double lineHeight = 0;
    double dayWidth = 0;
    double totalWidth = 0;
};

// The days laid out to fill a client area of that size: the rows share the
// height, never narrower than a line and a bit.
Timeline layOutReportWindow(const std::vector<DayRecord> &days, const WindowFont &font,
                            double width, double height);

// The height below which the days no longer have their rows: the window
// scrolls there.
double reportTimelineMinimumHeight(const WindowFont &font, std::size_t days);

// The timeline's first size, from the font (which follows the resolution):
// room for the hour labels apart and two lines a day.
struct WindowSize {
    int width = 0;
    int height = 0;
};
WindowSize reportTimelineSize(const WindowFont &font, std::size_t days);

} // namespace wendle::report
