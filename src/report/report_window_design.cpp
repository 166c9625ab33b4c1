#include "report/report_window_design.h"

#include <algorithm>

namespace wendle::report {

Timeline layOutReportWindow(const std::vector<DayRecord> &days, const WindowFont &font,
                            double width, double height) {
    TimelineMetrics m;
    m.width = width;
    m.fontSize = font.lineHeight * 0.75;
    m.rowHeight = std::max(font.lineHeight * 1.8,
                           (height - font.lineHeight * 2.2) / std::max<double>(1, days.size()));
    m.dayColumn = font.dayWidth + 12;
    m.totalColumn = font.totalWidth + 8;
    return layOutTimeline(days, m);
}

} // namespace wendle::report
