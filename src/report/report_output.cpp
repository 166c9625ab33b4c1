#include "report/report_output.h"

#include "logging/local_time.h"
#include "report/dates.h"
#include "report/report_entries.h"

#include <cstdio>

namespace wendle::report {

namespace {

std::string jsonString(const std::string &text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + '"';
}

} // namespace

void writeText(std::ostream &out, const std::string &folders, const std::vector<DayRecord> &days) {
    if (days.empty())
        return;
    out << "Wendle record of " << folders << ", " << isoDate(days.front().date) << " to "
        << isoDate(days.back().date) << "\n\n";
    char row[160];
    std::snprintf(row, sizeof row, "%-10s  %-3s  %-8s  %-8s  %s\n", "Date", "Day", "Start", "End",
                  "Length");
    out << row;
    for (const DayRecord &day : days) {
        std::string date = isoDate(day.date), weekday = weekdayName(day.date);
        if (day.stretches.empty()) {
            std::snprintf(row, sizeof row, "%-10s  %-3s  %s\n", date.c_str(), weekday.c_str(), "-");
            out << row;
            continue;
        }
        for (const Stretch &stretch : day.stretches) {
            std::snprintf(row, sizeof row, "%-10s  %-3s  %-8s  %-8s  %s\n", date.c_str(),
                          weekday.c_str(), clockText(stretch.start).c_str(),
                          clockText(stretch.end).c_str(), durationText(stretch.seconds()).c_str());
            out << row;
            date.assign(date.size(), ' ');
            weekday.assign(weekday.size(), ' ');
        }
        std::snprintf(row, sizeof row, "%-10s  %-3s  %-18s  %s\n", "", "", "day total",
                      durationText(day.totalSeconds()).c_str());
        out << row;
    }
    std::snprintf(row, sizeof row, "\n%-35s  %s\n", "Total",
                  durationText(grandTotal(days)).c_str());
    out << row;

    if (!copiesNotices(days).empty())
        out << "\nConflict copies read:\n";
    for (const DayRecord &day : days) {
        if (day.conflictCopies.empty() && day.copiesLeft == 0)
            continue;
        out << "  " << copiesNotice(day) << '\n';
        for (const std::string &copy : day.conflictCopies)
            out << "    " << copy << '\n';
    }

    const std::vector<std::string> notices = unreadableNotices(days);
    if (!notices.empty())
        out << "\nLines that are not a time of day:\n";
    for (const std::string &notice : notices)
        out << "  " << notice << '\n';
}

void writeCsv(std::ostream &out, const std::vector<DayRecord> &days) {
    out << "date,start,end,seconds\n";
    for (const DayRecord &day : days)
        for (const Stretch &stretch : day.stretches)
            out << isoDate(day.date) << ',' << clockText(stretch.start) << ','
                << clockText(stretch.end) << ',' << stretch.seconds() << '\n';
}

void writeJson(std::ostream &out, const std::vector<std::string> &folders,
               const std::vector<DayRecord> &days) {
    out << "{\"folder\": " << jsonString(folders.empty() ? std::string() : folders.front());
    if (folders.size() > 1) {
        out << ", \"folders\": [";
        for (std::size_t f = 0; f < folders.size(); ++f)
            out << (f ? ", " : "") << jsonString(folders[f]);
        out << ']';
    }
    out << ", \"from\": \"" << (days.empty() ? "" : isoDate(days.front().date)) << "\", \"to\": \""
        << (days.empty() ? "" : isoDate(days.back().date))
        << "\", \"total_seconds\": " << grandTotal(days) << ", \"days\": [";
    for (std::size_t d = 0; d < days.size(); ++d) {
        const DayRecord &day = days[d];
        out << (d ? ", " : "") << "{\"date\": \"" << isoDate(day.date)
            << "\", \"total_seconds\": " << day.totalSeconds() << ", \"stretches\": [";
        for (std::size_t s = 0; s < day.stretches.size(); ++s) {
            const Stretch &stretch = day.stretches[s];
            out << (s ? ", " : "") << "{\"start\": \"" << clockText(stretch.start)
                << "\", \"end\": \"" << clockText(stretch.end)
                << "\", \"seconds\": " << stretch.seconds() << '}';
        }
        out << "], \"unreadable_lines\": [";
        for (std::size_t i = 0; i < day.unreadableLines.size(); ++i)
            out << (i ? ", " : "") << day.unreadableLines[i];
        out << ']';
        // Only on a day read from more than its one file.
        if (!day.conflictCopies.empty() || day.copiesLeft > 0) {
            out << ", \"conflict_copies\": [";
            for (std::size_t i = 0; i < day.conflictCopies.size(); ++i)
                out << (i ? ", " : "") << jsonString(day.conflictCopies[i]);
            out << "], \"conflict_copies_not_read\": " << day.copiesLeft;
        }
        if (!day.unreadableElsewhere.empty()) {
            out << ", \"unreadable_lines_elsewhere\": [";
            for (std::size_t f = 0; f < day.unreadableElsewhere.size(); ++f) {
                const DayRecord::FileLines &file = day.unreadableElsewhere[f];
                out << (f ? ", " : "") << "{\"file\": " << jsonString(file.file)
                    << ", \"lines\": [";
                for (std::size_t i = 0; i < file.lines.size(); ++i)
                    out << (i ? ", " : "") << file.lines[i];
                out << "]}";
            }
            out << ']';
        }
        out << '}';
    }
    out << "]}\n";
}

} // namespace wendle::report
