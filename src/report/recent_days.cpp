#include "report/recent_days.h"

#include "logging/log_paths.h"
#include "report/dates.h"
#include "report/record_reader.h"

#include <algorithm>

namespace wendle::report {

RecentDays::RecentDays(const Clock &clock, std::function<std::string()> folder)
    : m_clock(clock), m_folder(std::move(folder)), m_markers(localMarkers()) {}

void RecentDays::readAll() {
    const LocalDate today = m_clock.now().date;
    m_days = readRecord(m_folder(), addDays(today, 1 - Count), today, m_markers);
    std::reverse(m_days.begin(), m_days.end());
}

void RecentDays::refresh() {
    const LocalDate today = m_clock.now().date;
    if (m_days.empty() || m_days.front().date != today) {
        readAll();
    } else {
        m_days.front() = readDay(dailyLogPath(m_folder(), today), today, m_markers);
        if (m_days.size() > 1)
            joinAtMidnight(m_days[1], m_days.front());
    }
}

} // namespace wendle::report
