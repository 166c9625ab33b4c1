#include "report/timeline.h"

#include "report/clock_text.h"
#include "report/dates.h"

#include <cstdio>

namespace wendle::report {

namespace {

constexpr double Margin = 8;

std::string xmlText(const std::string &text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string colorText(unsigned rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", rgb);
    return text;
}

} // namespace

unsigned roleColor(TimelineItem::Role role, const TimelineColors &colors) {
    switch (role) {
    case TimelineItem::Role::RowBand:
        return colors.band;
    case TimelineItem::Role::Bar:
        return colors.bar;
    case TimelineItem::Role::HourLine:
        return colors.hourLine;
    case TimelineItem::Role::AxisText:
        return colors.axisText;
    case TimelineItem::Role::DayText:
    case TimelineItem::Role::TotalText:
        return colors.text;
    }
    return colors.text;
}

const TimelineItem *timelineItemOf(const Timeline &timeline, int day, int stretch) {
    const auto role = stretch < 0 ? TimelineItem::Role::RowBand : TimelineItem::Role::Bar;
    for (const TimelineItem &item : timeline.items)
        if (item.role == role && item.day == day && item.stretch == stretch)
            return &item;
    return nullptr;
}

std::string stretchText(const Stretch &stretch) {
    return clockText(stretch.start) + " \xE2\x80\x93 " + clockText(stretch.end) + " (" +
           durationText(stretch.seconds()) + ")";
}

Timeline layOutTimeline(const std::vector<DayRecord> &days, const TimelineMetrics &m) {
    using Item = TimelineItem;
    Timeline t;
    t.width = m.width;
    t.fontSize = m.fontSize;
    const double axisLeft = Margin + m.dayColumn;
    const double axisWidth = std::max(48.0, m.width - axisLeft - m.totalColumn - Margin);
    const double top = Margin + m.fontSize * 1.6;
    t.height = top + m.rowHeight * double(days.size()) + Margin;
    const auto xAt = [&](int seconds) { return axisLeft + axisWidth * seconds / 86400.0; };

    for (std::size_t d = 0; d < days.size(); ++d) {
        const double y = top + m.rowHeight * double(d);
        t.items.push_back({Item::Kind::Box,
                           Item::Role::RowBand,
                           axisLeft,
                           y + 2,
                           axisWidth,
                           m.rowHeight - 4,
                           {},
                           Item::Anchor::Start,
                           int(d)});
    }
    // Hour marks; every third hour named, or every sixth or twelfth where
    // the names would run into each other (a narrow window, a large font).
    const double labelWidth = m.fontSize * 3.0 * 1.25;
    int named = 3;
    while (named < 12 && axisWidth * named / 24.0 < labelWidth)
        named *= 2;
    for (int hour = 0; hour <= 24; ++hour) {
        t.items.push_back({Item::Kind::Line,
                           Item::Role::HourLine,
                           xAt(hour * 3600),
                           top - 3,
                           0,
                           t.height - Margin - top + 3,
                           {}});
        if (hour % named == 0) {
            char label[8];
            std::snprintf(label, sizeof label, "%02d:00", hour);
            t.items.push_back({Item::Kind::Text, Item::Role::AxisText, xAt(hour * 3600), top - 6, 0,
                               0, label, Item::Anchor::Middle});
        }
    }
    for (std::size_t d = 0; d < days.size(); ++d) {
        const DayRecord &day = days[d];
        const double y = top + m.rowHeight * double(d);
        const double baseline = y + m.rowHeight / 2 + m.fontSize * 0.35;
        t.items.push_back({Item::Kind::Text, Item::Role::DayText, Margin, baseline, 0, 0,
                           std::string(weekdayName(day.date)) + " " + isoDate(day.date),
                           Item::Anchor::Start, int(d)});
        for (std::size_t s = 0; s < day.stretches.size(); ++s) {
            const Stretch &stretch = day.stretches[s];
            // Even a stretch of seconds stays visible.
            const double x = xAt(stretch.start);
            // One that ends in the hour shown twice, earlier on the clock than
            // it started, is drawn at its length.
            const int end = stretch.end >= stretch.start
                                ? stretch.end
                                : std::min(stretch.start + stretch.seconds(), 86400);
            const double width = std::max(1.5, xAt(end) - x);
            t.items.push_back({Item::Kind::Box, Item::Role::Bar, x, y + 5, width, m.rowHeight - 10,
                               stretchText(stretch), Item::Anchor::Start, int(d), int(s)});
        }
        t.items.push_back({Item::Kind::Text, Item::Role::TotalText, m.width - Margin, baseline, 0,
                           0, durationText(day.totalSeconds()), Item::Anchor::End, int(d)});
    }
    return t;
}

std::string timelineTextAt(const Timeline &timeline, double x, double y) {
    // A bar of a few seconds is a sliver: it answers a little around it too.
    for (const TimelineItem &item : timeline.items)
        if (item.role == TimelineItem::Role::Bar && x >= item.x - 2 &&
            x <= item.x + item.width + 2 && y >= item.y && y <= item.y + item.height)
            return item.text;
    return std::string();
}

const char *roleClass(TimelineItem::Role role) {
    switch (role) {
    case TimelineItem::Role::RowBand:
        return "band";
    case TimelineItem::Role::Bar:
        return "bar";
    case TimelineItem::Role::HourLine:
        return "hour";
    case TimelineItem::Role::AxisText:
        return "axis";
    case TimelineItem::Role::DayText:
    case TimelineItem::Role::TotalText:
        return "text";
    }
    return "text";
}

std::string timelineSvg(const Timeline &t, const SvgHeading &heading) {
    // The same colours as the attributes, again for a dark scheme; the bars
    // lighter there, to stand out from the dark bands.
    const TimelineColors dark{0x1d2127, 0x2a3038, 0x5cb87f, 0x4a525c, 0xaab2bd, 0xe8ebef};
    std::string style = "@media (prefers-color-scheme: dark) {";
    style += " .background { fill: " + colorText(dark.background) + " }";
    for (const auto role : {TimelineItem::Role::RowBand, TimelineItem::Role::Bar,
                            TimelineItem::Role::AxisText, TimelineItem::Role::DayText})
        style += std::string(" .") + roleClass(role) +
                 " { fill: " + colorText(roleColor(role, dark)) + " }";
    style += " .hour { stroke: " + colorText(dark.hourLine) + " } }";
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      number(t.width) + "\" height=\"" + number(t.height) + "\" viewBox=\"0 0 " +
                      number(t.width) + " " + number(t.height) +
                      "\" font-family=\"DejaVu Sans, Verdana, sans-serif\" font-size=\"" +
                      number(t.fontSize) + "\" role=\"img\"";
    svg += heading.title.empty() ? ">\n" : " aria-labelledby=\"title desc\">\n";
    if (!heading.title.empty())
        svg += "<title id=\"title\">" + xmlText(heading.title) + "</title>\n<desc id=\"desc\">" +
               xmlText(heading.description) + "</desc>\n";
    svg += "<style>" + style +
           "</style>\n"
           "<rect class=\"background\" width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    for (const TimelineItem &item : t.items) {
        const std::string color = colorText(roleColor(item.role));
        switch (item.kind) {
        case TimelineItem::Kind::Box:
            svg += "<rect x=\"" + number(item.x) + "\" y=\"" + number(item.y) + "\" width=\"" +
                   number(item.width) + "\" height=\"" + number(item.height) + "\" class=\"" +
                   roleClass(item.role) + "\" fill=\"" + color + "\"";
            svg +=
                item.text.empty() ? "/>\n" : "><title>" + xmlText(item.text) + "</title></rect>\n";
            break;
        case TimelineItem::Kind::Line:
            svg += "<line x1=\"" + number(item.x) + "\" y1=\"" + number(item.y) + "\" x2=\"" +
                   number(item.x + item.width) + "\" y2=\"" + number(item.y + item.height) +
                   "\" class=\"hour\" stroke=\"" + color + "\" stroke-width=\"1\"/>\n";
            break;
        case TimelineItem::Kind::Text: {
            const char *anchor = item.anchor == TimelineItem::Anchor::Start    ? "start"
                                 : item.anchor == TimelineItem::Anchor::Middle ? "middle"
                                                                               : "end";
            svg += "<text x=\"" + number(item.x) + "\" y=\"" + number(item.y) +
                   "\" text-anchor=\"" + anchor + "\" class=\"" + roleClass(item.role) +
                   "\" fill=\"" + color + "\">" + xmlText(item.text) + "</text>\n";
            break;
        }
        }
    }
    return svg + "</svg>\n";
}

} // namespace wendle::report
