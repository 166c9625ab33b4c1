#pragma once

#include "report/day_record.h"

#include <ostream>
#include <string>
#include <vector>

namespace wendle::report {

// "09:00:00".
std::string clockText(int secondsOfDay);
// "8 h 0 min", "0 h 12 min 5 s".
std::string durationText(long seconds);

// The record of the days, in date order, for the folder they came from.
void writeText(std::ostream &out, const std::string &folder, const std::vector<DayRecord> &days);
void writeCsv(std::ostream &out, const std::vector<DayRecord> &days);
void writeJson(std::ostream &out, const std::string &folder, const std::vector<DayRecord> &days);

} // namespace wendle::report
