#include "report/day_record.h"

#include "logging/log_tail.h"

#include "report/dates.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <mutex>

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
                if (gap <= 60 + Slack &&
                    (!(next > 0 && next < gap - 1) || std::abs(gap - DefaultInterval) <= 1))
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

namespace {

constexpr int DayLength = 24 * 3600;
// Writers told apart in one file; lines beyond them join the earliest one.
constexpr std::size_t MaxWriters = 32;

// The stretches of one writer's lines, which never go back but by a clock
// set back.
std::vector<Stretch> writerStretches(const std::vector<int> &times, int &beforeMidnight) {
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
        if (r == 0 && first < interval)
            beforeMidnight = std::max(beforeMidnight, interval - first);
        int start = std::max(0, first - interval);
        // Logging was off between two stretches: they never overlap.
        if (!stretches.empty() && stretches.back().end <= first)
            start = std::max(start, stretches.back().end);
        stretches.push_back({start, times[runs[r].last], 0});
    }
    return stretches;
}

// Each line follows the writer whose last line is the latest one before it.
std::vector<std::vector<int>> writersOf(const std::vector<int> &times) {
    std::vector<std::vector<int>> writers;
    for (const int t : times) {
        std::size_t best = writers.size();
        std::size_t earliest = 0;
        for (std::size_t w = 0; w < writers.size(); ++w) {
            const int last = writers[w].back();
            if (last <= t && (best == writers.size() || last > writers[best].back()))
                best = w;
            if (last < writers[earliest].back())
                earliest = w;
        }
        if (best == writers.size() && writers.size() >= MaxWriters)
            best = earliest;
        if (best == writers.size())
            writers.emplace_back();
        writers[best].push_back(t);
    }
    return writers;
}

} // namespace

std::vector<Stretch> stretchesOf(const std::vector<int> &times, std::optional<ClockJump> jump,
                                 int *beforeMidnight) {
    // Worked out in seconds that passed since midnight, where a day whose
    // clocks were put forward has no gap.
    const auto elapsed = [&](int clock) {
        if (!jump || clock < jump->start)
            return clock;
        return std::max(jump->start, clock - jump->length);
    };
    const auto onClock = [&](int seconds) {
        return jump && seconds >= jump->start ? seconds + jump->length : seconds;
    };
    std::vector<int> passed;
    passed.reserve(times.size());
    bool backwards = false;
    for (const int t : times) {
        passed.push_back(elapsed(t));
        backwards = backwards || (passed.size() > 1 && passed.back() < passed[passed.size() - 2]);
    }
    int reachBack = 0;
    std::vector<Stretch> all;
    if (!backwards) {
        all = writerStretches(passed, reachBack);
    } else {
        for (const std::vector<int> &writer : writersOf(passed)) {
            const std::vector<Stretch> own = writerStretches(writer, reachBack);
            all.insert(all.end(), own.begin(), own.end());
        }
        std::sort(all.begin(), all.end(),
                  [](const Stretch &a, const Stretch &b) { return a.start < b.start; });
    }
    // Their union: overlapping stretches become one.
    std::vector<Stretch> stretches;
    for (const Stretch &stretch : all) {
        if (!stretches.empty() && backwards && stretch.start <= stretches.back().end)
            stretches.back().end = std::max(stretches.back().end, stretch.end);
        else
            stretches.push_back(stretch);
    }
    for (Stretch &stretch : stretches) {
        const bool across = jump && stretch.start < jump->start && stretch.end >= jump->start;
        stretch.start = onClock(stretch.start);
        stretch.end = onClock(stretch.end);
        stretch.skipped = across ? jump->length : 0;
    }
    if (beforeMidnight)
        *beforeMidnight = reachBack;
    return stretches;
}

std::optional<ClockJump> clockJumpOn(const LocalDate &date) {
    // mktime and localtime share the C library's zone state.
    static std::mutex zone;
    const std::lock_guard lock(zone);
    const auto midnight = [](const LocalDate &day) {
        std::tm tm{};
        tm.tm_year = day.year - 1900;
        tm.tm_mon = day.month - 1;
        tm.tm_mday = day.day;
        tm.tm_isdst = -1;
        return std::mktime(&tm);
    };
    const std::time_t from = midnight(date);
    const std::time_t to = midnight(addDays(date, 1));
    if (from == std::time_t(-1) || to == std::time_t(-1) || to - from >= DayLength)
        return std::nullopt;
    const auto clockOf = [](std::time_t at) {
        const std::tm *tm = std::localtime(&at);
        return tm ? tm->tm_hour * 3600 + tm->tm_min * 60 + tm->tm_sec : 0;
    };
    // The first moment whose clock reading is ahead of the time passed.
    std::time_t low = from, high = to;
    while (high - low > 1) {
        const std::time_t middle = low + (high - low) / 2;
        (clockOf(middle) == middle - from ? low : high) = middle;
    }
    return ClockJump{static_cast<int>(high - from), static_cast<int>(DayLength - (to - from))};
}

void joinAtMidnight(DayRecord &day, const DayRecord &next) {
    if (next.beforeMidnight > 0 && !day.stretches.empty() &&
        day.stretches.back().end >= DayLength - next.beforeMidnight - Slack)
        day.stretches.back().end = DayLength;
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
    day.stretches = stretchesOf(times, clockJumpOn(date), &day.beforeMidnight);
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
