#include "report/day_record.h"

#include "report/day_reader.h"

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
// Writers told apart in one file at a time; past them, the one that wrote
// longest ago is set aside, its stretches kept.
constexpr std::size_t MaxWriters = 32;
// The longest gap between a writer's lines within a stretch: twice the
// slider's longest interval and the slack.
constexpr int MaxGap = 2 * 60 + Slack;

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

// Sorted, overlapping stretches joined.
void unite(std::vector<Stretch> &stretches) {
    std::sort(stretches.begin(), stretches.end(),
              [](const Stretch &a, const Stretch &b) { return a.start < b.start; });
    std::vector<Stretch> united;
    for (const Stretch &stretch : stretches) {
        if (!united.empty() && stretch.start <= united.back().end)
            united.back().end = std::max(united.back().end, stretch.end);
        else
            united.push_back(stretch);
    }
    stretches = std::move(united);
}

} // namespace

// All stretches of a day share its clock change: a stretch across it keeps
// what it skipped when it takes in another.
void uniteStretches(std::vector<Stretch> &stretches) {
    std::sort(stretches.begin(), stretches.end(),
              [](const Stretch &a, const Stretch &b) { return a.start < b.start; });
    std::vector<Stretch> united;
    for (const Stretch &stretch : stretches) {
        if (!united.empty() && stretch.start <= united.back().end) {
            united.back().end = std::max(united.back().end, stretch.end);
            if (united.back().skipped == 0)
                united.back().skipped = stretch.skipped;
        } else {
            united.push_back(stretch);
        }
    }
    stretches = std::move(united);
}

// Each line follows the writer whose last line is the latest one before it.
void WriterLines::add(int clock) {
    const int t = passedAt(clock);
    std::size_t best = m_writers.size();
    std::size_t earliest = 0;
    for (std::size_t w = 0; w < m_writers.size(); ++w) {
        const int last = m_writers[w].back();
        if (last <= t && (best == m_writers.size() || last > m_writers[best].back()))
            best = w;
        if (last < m_writers[earliest].back())
            earliest = w;
    }
    if (best == m_writers.size() && m_writers.size() >= MaxWriters) {
        const std::vector<Stretch> covered = writerStretches(m_writers[earliest], m_reachBack);
        m_setAside.insert(m_setAside.end(), covered.begin(), covered.end());
        // United only once the list has doubled: a day of many writers with
        // stretches apart costs a sort now and then, not one a line.
        if (m_setAside.size() > std::max<std::size_t>(4096, 2 * m_unitedSize)) {
            unite(m_setAside);
            m_unitedSize = m_setAside.size();
        }
        m_writers[earliest].clear();
        best = earliest;
    }
    if (best == m_writers.size())
        m_writers.emplace_back();
    // A second shown twice counts once.
    if (m_writers[best].empty() || m_writers[best].back() != t)
        m_writers[best].push_back(t);
}

int WriterLines::passedAt(int clock) const {
    if (!m_jump || clock < m_jump->start + std::min(0, m_jump->length))
        return clock;
    if (m_jump->length > 0)
        return std::max(m_jump->start, clock - m_jump->length);
    const int repeat = -m_jump->length;
    const int second = clock + repeat;
    if (clock >= m_jump->start)
        return second;
    // The hour shown twice: the second time round for a writer that was
    // just before this in the time passed, and would go back the first.
    for (const std::vector<int> &writer : m_writers)
        if (writer.back() > clock && writer.back() <= second && second - writer.back() <= MaxGap)
            return second;
    return clock;
}

std::vector<Stretch> stretchesOfWriters(const WriterLines &lines, std::optional<ClockJump> jump,
                                        int *beforeMidnight) {
    int reachBack = lines.setAsideReachBack();
    std::vector<Stretch> stretches = lines.setAside();
    for (const std::vector<int> &writer : lines.writers()) {
        const std::vector<Stretch> own = writerStretches(writer, reachBack);
        stretches.insert(stretches.end(), own.begin(), own.end());
    }
    // Their union: overlapping stretches become one.
    unite(stretches);
    const auto onClock = [&](int seconds) {
        return jump && seconds >= jump->start ? seconds + jump->length : seconds;
    };
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

std::vector<Stretch> stretchesOf(const std::vector<int> &times, std::optional<ClockJump> jump,
                                 int *beforeMidnight) {
    // Worked out in seconds that passed since midnight, where a day whose
    // clocks were put forward has no gap.
    WriterLines lines(jump);
    for (const int t : times)
        lines.add(t);
    return stretchesOfWriters(lines, jump, beforeMidnight);
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
    if (from == std::time_t(-1) || to == std::time_t(-1) || to - from == DayLength)
        return std::nullopt;
    const auto clockOf = [](std::time_t at) {
        const std::tm *tm = std::localtime(&at);
        return tm ? tm->tm_hour * 3600 + tm->tm_min * 60 + tm->tm_sec : 0;
    };
    // The first moment whose clock reading is not the time passed.
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
    DayReader reader(date, markers);
    reader.feed(text);
    return reader.record();
}

DayRecord readDay(const std::string &path, const LocalDate &date, const DayHalfMarkers &markers) {
    DayReader reader(date, markers);
    std::string error;
    if (!readOn(reader, path, error)) {
        DayRecord day = emptyDay(date);
        day.readError = error;
        return day;
    }
    return reader.record();
}

} // namespace wendle::report
