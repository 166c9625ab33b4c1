#pragma once

#include "logging/clock.h"
#include "report/day_files.h"
#include "report/day_reader.h"
#include "report/day_record.h"

#include <cstdint>
#include <functional>
#include <future>
#include <optional>
#include <string>
#include <vector>

namespace wendle::report {

// The last days of the record, today first, as the report window shows them.
// Reading happens on a thread of its own, so a day's file of any size never
// holds up the window or the logging beside it; after the first reading,
// only what was appended to today's files is read (its day file in each
// folder, and the conflict copies of it, which may appear at any time). Nothing that goes wrong
// in a reading ends the program: today's row tells what it was.
class RecentDays {
public:
    static constexpr int Count = 7;
    // How often poll() looks at today's file again.
    static constexpr int FollowMilliseconds = 1000;

    // folders() tells the folders at the moment the record is read.
    RecentDays(const Clock &clock, std::function<std::vector<std::string>()> folders);
    ~RecentDays();

    // Starts a reading now, unless one is under way: every day when the date
    // or the folders have changed, else what today's files gained.
    void refresh();
    // For a window's timer: takes a finished reading (true when there was
    // one), and starts the next once FollowMilliseconds have passed.
    bool poll();
    // Waits for a reading under way and takes it.
    void finish();

    const std::vector<DayRecord> &days() const { return m_days; }

private:
    struct TodayFile {
        DayFile file;
        DayReader reader;
    };
    struct State {
        std::vector<std::string> folders;
        LocalDate today{0, 0, 0};
        std::vector<DayRecord> days;
        // The day the files below are read for, once the days are read.
        std::optional<LocalDate> readFor;
        std::vector<TodayFile> todayFiles;
    };
    static State read(State state, const DayHalfMarkers &markers);
    static void readInto(State &state, const DayHalfMarkers &markers);
    bool collect(bool wait);

    const Clock &m_clock;
    std::function<std::vector<std::string>()> m_folders;
    DayHalfMarkers m_markers;
    State m_state;
    std::future<State> m_pending;
    std::int64_t m_lastStart = 0;
    std::vector<DayRecord> m_days;
};

} // namespace wendle::report
