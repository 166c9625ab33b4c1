#include "report/day_record.h"

#include "logging/log_tail.h"

#include <cstdlib>

namespace wendle::report {

namespace {

constexpr int DefaultInterval = 10;
constexpr int Slack = 2;

struct Run {
    std::size_t first, last; // indices into the times
    int firstInterval = 0;   // 0: a single line
    int lastInterval = 0;
};

std::vector<Run> runsOf(const std::vector<int> &t) {
    std::vector<Run> runs;
    std::size_t i = 0;
    while (i < t.size()) {
        Run run{i, i};
        int interval = 0;
        std::size_t j = i;
        while (j + 1 < t.size()) {
            const int gap = t[j + 1] - t[j];
            if (gap < 0)
                break;
            const int next = j + 2 < t.size() ? t[j + 2] - t[j + 1] : -1;
            int accepted = 0;
            if (gap == 0) {
                ++j; // a second shown twice
                continue;
            }
            if (interval == 0) {
                // The first gap is the interval, unless the lines go on at a
                // clearly shorter one: then logging was off in this gap.
                if (gap <= 60 + Slack && !(next > 0 && next < gap - 1))
                    accepted = gap;
            } else if (gap <= 2 * interval + 1) {
                accepted = gap;
            } else if (next > 0 && next <= gap && gap <= next + interval + Slack) {
                accepted = next; // the slider moved: the next gap is the new interval
            }
            if (accepted == 0)
                break;
            if (run.firstInterval == 0)
                run.firstInterval = std::min(gap, 60);
            interval = accepted;
            ++j;
        }
        run.last = j;
        run.lastInterval = interval;
        runs.push_back(run);
        i = j + 1;
    }
    return runs;
}

} // namespace

long DayRecord::totalSeconds() const {
    long total = 0;
    for (const Stretch &stretch : stretches)
        total += stretch.seconds();
    return total;
}

std::vector<Stretch> stretchesOf(const std::vector<int> &times) {
    std::vector<Run> runs = runsOf(times);
    std::vector<Stretch> stretches;
    stretches.reserve(runs.size());
    for (std::size_t r = 0; r < runs.size(); ++r) {
        int interval = runs[r].firstInterval;
        if (interval == 0 && r > 0)
            interval = runs[r - 1].lastInterval;
        if (interval == 0 && r + 1 < runs.size())
            interval = runs[r + 1].firstInterval;
        if (interval == 0)
            interval = DefaultInterval;
        const int first = times[runs[r].first];
        int start = std::max(0, first - interval);
        // Logging was off between two stretches: they never overlap.
        if (!stretches.empty() && stretches.back().end <= first)
            start = std::max(start, stretches.back().end);
        stretches.push_back({start, times[runs[r].last]});
    }
    return stretches;
}

DayRecord dayFromText(std::string_view text, const LocalDate &date, const DayHalfMarkers &markers) {
    DayRecord day{date, {}, {}, {}};
    std::vector<int> times;
    times.reserve(text.size() / 10 + 1);
    long number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        ++number;
        if (const std::optional<int> at = parseTimeOfDay(line, markers))
            times.push_back(*at);
        else
            day.unreadableLines.push_back(number);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    day.stretches = stretchesOf(times);
    return day;
}

DayRecord readDay(const std::string &path, const LocalDate &date, const DayHalfMarkers &markers) {
    // The whole file: no day's file comes near this many characters.
    const FileEnd file = readFileEnd(path, std::size_t(1) << 40);
    if (file.status != LogTail::Status::Read) {
        DayRecord day{date, {}, {}, {}};
        if (file.status == LogTail::Status::Failed)
            day.readError = file.error;
        return day;
    }
    return dayFromText(file.bytes, date, markers);
}

} // namespace wendle::report
