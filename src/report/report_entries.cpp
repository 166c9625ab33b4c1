#include "report/report_entries.h"

#include "report/clock_text.h"
#include "report/dates.h"
#include "report/timeline.h"

namespace wendle::report {

std::vector<ReportEntry> reportEntries(const std::vector<DayRecord> &days) {
    std::vector<ReportEntry> entries;
    for (std::size_t d = 0; d < days.size(); ++d) {
        const DayRecord &day = days[d];
        entries.push_back({d, -1,
                           isoDate(day.date) + ", " + weekdayName(day.date) + ", total " +
                               durationText(day.totalSeconds())});
        for (std::size_t s = 0; s < day.stretches.size(); ++s)
            entries.push_back({d, int(s), stretchText(day.stretches[s])});
    }
    return entries;
}

long grandTotal(const std::vector<DayRecord> &days) {
    long total = 0;
    for (const DayRecord &day : days)
        total += day.totalSeconds();
    return total;
}

namespace {

std::string linesText(const std::vector<long> &lines) {
    std::string text = lines.size() > 1 ? "lines" : "line";
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i ? ", " : " ") + std::to_string(lines[i]);
    return text;
}

} // namespace

std::vector<std::string> unreadableNotices(const std::vector<DayRecord> &days) {
    std::vector<std::string> notices;
    for (const DayRecord &day : days) {
        if (!day.unreadableLines.empty())
            notices.push_back(isoDate(day.date) + ": " + linesText(day.unreadableLines));
        for (const DayRecord::FileLines &file : day.unreadableElsewhere)
            notices.push_back(isoDate(day.date) + " (" + file.file + "): " + linesText(file.lines));
    }
    return notices;
}

std::string copiesNotice(const DayRecord &day) {
    const std::size_t read = day.conflictCopies.size();
    std::string notice = isoDate(day.date) + ": " + std::to_string(read) +
                         (read == 1 ? " conflict copy read" : " conflict copies read");
    if (day.copiesLeft > 0)
        notice += ", " + std::to_string(day.copiesLeft) + " more not read";
    return notice;
}

std::vector<std::string> copiesNotices(const std::vector<DayRecord> &days) {
    std::vector<std::string> notices;
    for (const DayRecord &day : days)
        if (!day.conflictCopies.empty() || day.copiesLeft > 0)
            notices.push_back(copiesNotice(day));
    return notices;
}

std::string folderListText(const std::vector<std::string> &folders) {
    std::string text;
    for (std::size_t i = 0; i < folders.size(); ++i)
        text += (i == 0 ? "" : i + 1 == folders.size() ? " and " : ", ") + folders[i];
    return text;
}

std::string reportSummary(const std::vector<DayRecord> &days) {
    std::string summary = "Total " + durationText(grandTotal(days));
    for (const std::string &notice : copiesNotices(days))
        summary += "\n" + notice;
    const std::vector<std::string> notices = unreadableNotices(days);
    if (!notices.empty())
        summary += "\nLines that are not a time of day:";
    for (const std::string &notice : notices)
        summary += "\n" + notice;
    for (const DayRecord &day : days)
        if (!day.readError.empty())
            summary += "\nThe log of " + isoDate(day.date) + " cannot be read: " + day.readError;
    return summary;
}

SvgHeading timelineHeading(const std::string &folder, const LocalDate &from, const LocalDate &to,
                           const std::vector<DayRecord> &days) {
    const std::string range = isoDate(from) + " to " + isoDate(to);
    std::string unreadable;
    for (const std::string &notice : unreadableNotices(days))
        unreadable += (unreadable.empty() ? "; lines that are not a time of day: " : ", ") + notice;
    for (const std::string &notice : copiesNotices(days))
        unreadable += "; " + notice;
    return {"Wendle record of " + folder + ", " + range,
            "Logged from " + range + ", total " + durationText(grandTotal(days)) + unreadable +
                ". A row a day, 00:00 to 24:00, each day's total at its end."};
}

} // namespace wendle::report
