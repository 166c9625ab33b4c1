#include "report/record_reader.h"

#include "report/dates.h"
#include "report/day_reader.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace wendle::report {

namespace {

// Enough of a day's first lines to tell their interval.
constexpr std::uint64_t DayStart = 4096;

} // namespace

void addFileRecord(DayRecord &day, const DayFile &file, const DayRecord &record, bool first) {
    day.stretches.insert(day.stretches.end(), record.stretches.begin(), record.stretches.end());
    uniteStretches(day.stretches);
    day.beforeMidnight = std::max(day.beforeMidnight, record.beforeMidnight);
    if (first)
        day.unreadableLines = record.unreadableLines;
    else if (!record.unreadableLines.empty())
        day.unreadableElsewhere.push_back({file.label, record.unreadableLines});
    if (!record.readError.empty())
        day.readError += (day.readError.empty() ? "" : "; ") +
                         (first ? record.readError : file.label + ": " + record.readError);
    if (file.copy)
        day.conflictCopies.push_back(file.label);
}

DayRecord readDayFiles(const DayFiles &files, const LocalDate &date, const DayHalfMarkers &markers,
                       std::uint64_t limit) {
    DayRecord day = emptyDay(date);
    day.copiesLeft = files.copiesLeft;
    for (std::size_t i = 0; i < files.files.size(); ++i) {
        DayReader reader(date, markers);
        std::string error;
        DayRecord record = readOn(reader, files.files[i].path, error, limit)
                               ? reader.record()
                               : emptyDay(date, error);
        addFileRecord(day, files.files[i], record, i == 0);
    }
    return day;
}

std::vector<DayRecord> readRecord(const std::vector<std::string> &folders, const LocalDate &from,
                                  const LocalDate &to, const DayHalfMarkers &markers) {
    const int count = std::max(0, daysBetween(from, to));
    // And the start of the day after, whose first interval may reach back
    // before its midnight.
    const std::vector<DayFiles> files = dayFiles(folders, from, count + 1);
    std::vector<DayRecord> days(static_cast<std::size_t>(count) + 1);
    days.back() = readDayFiles(files.back(), addDays(from, count), markers, DayStart);
    std::atomic<int> nextDay{0};
    const auto work = [&] {
        for (int i = nextDay++; i < count; i = nextDay++)
            days[std::size_t(i)] = readDayFiles(files[std::size_t(i)], addDays(from, i), markers);
    };
    const unsigned cores = std::max(1u, std::min(std::thread::hardware_concurrency(), 8u));
    std::vector<std::thread> helpers;
    for (unsigned i = 1; i < cores && int(i) < count; ++i)
        helpers.emplace_back(work);
    work();
    for (std::thread &helper : helpers)
        helper.join();
    for (std::size_t i = 0; i + 1 < days.size(); ++i)
        joinAtMidnight(days[i], days[i + 1]);
    days.pop_back();
    return days;
}

} // namespace wendle::report
