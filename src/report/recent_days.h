#pragma once

#include "logging/clock.h"
#include "report/day_record.h"

#include <functional>
#include <string>
#include <vector>

namespace wendle::report {

// The last days of the record, today first, as the report window shows them.
class RecentDays {
public:
    static constexpr int Count = 7;

    // folder() tells the log folder at the moment the record is read.
    RecentDays(const Clock &clock, std::function<std::string()> folder);

    void readAll();
    // Reads today's file again, or every day again once the date has changed.
    void refresh();
    const std::vector<DayRecord> &days() const { return m_days; }

private:
    const Clock &m_clock;
    std::function<std::string()> m_folder;
    DayHalfMarkers m_markers;
    std::vector<DayRecord> m_days;
};

} // namespace wendle::report
