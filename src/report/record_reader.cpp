#include "report/record_reader.h"

#include "logging/log_paths.h"
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

std::vector<DayRecord> readRecord(const std::string &folder, const LocalDate &from,
                                  const LocalDate &to, const DayHalfMarkers &markers) {
    const int count = std::max(0, daysBetween(from, to));
    // And the start of the day after, whose first interval may reach back
    // before its midnight.
    std::vector<DayRecord> days(static_cast<std::size_t>(count) + 1);
    const LocalDate after = addDays(from, count);
    {
        DayReader start(after, markers);
        std::string ignored;
        readOn(start, dailyLogPath(folder, after), ignored, DayStart);
        days.back() = start.record();
    }
    std::atomic<int> nextDay{0};
    const auto work = [&] {
        for (int i = nextDay++; i < count; i = nextDay++) {
            const LocalDate date = addDays(from, i);
            days[std::size_t(i)] = readDay(dailyLogPath(folder, date), date, markers);
        }
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
