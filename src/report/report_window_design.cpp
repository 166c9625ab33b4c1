#include "report/report_window_design.h"

#include <algorithm>

namespace wendle::report {

namespace {

// A row is never lower than this many lines.
constexpr double RowLines = 1.8;
// What lies above the rows (the hour labels) and below them, in lines.
constexpr double AroundLines = 2.2;

} // namespace

Timeline layOutReportWindow(const std::vector<DayRecord> &days, const WindowFont &font,
                            double width, double height) {
    TimelineMetrics m;
    m.width = width;
    m.fontSize = font.lineHeight * 0.75;
    m.rowHeight = std::max(font.lineHeight * RowLines, (height - font.lineHeight * AroundLines) /
                                                           std::max<double>(1, days.size()));
    m.dayColumn = font.dayWidth + 12;
    m.totalColumn = font.totalWidth + 8;
    return layOutTimeline(days, m);
}

} // namespace wendle::report

namespace wendle::report {

double reportTimelineMinimumHeight(const WindowFont &font, std::size_t days) {
    return font.lineHeight * (AroundLines + RowLines * double(std::max<std::size_t>(1, days)));
}

WindowSize reportTimelineSize(const WindowFont &font, std::size_t days) {
    // 24 hours, every third named: some 36 lines' height of axis keeps the
    // labels apart in any font.
    const double width = font.dayWidth + font.totalWidth + 40 + font.lineHeight * 36;
    const double height =
        font.lineHeight * (AroundLines + 2.2 * double(std::max<std::size_t>(1, days)));
    return {int(width + 0.5), int(height + 0.5)};
}

} // namespace wendle::report
