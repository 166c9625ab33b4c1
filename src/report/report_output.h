#pragma once

#include "report/clock_text.h"
#include "report/day_record.h"

#include <ostream>
#include <string>
#include <vector>

namespace wendle::report {

// The record of the days, in date order, for the folders they came from
// (told as one text to writeText).
void writeText(std::ostream &out, const std::string &folders, const std::vector<DayRecord> &days);
void writeCsv(std::ostream &out, const std::vector<DayRecord> &days);
void writeJson(std::ostream &out, const std::vector<std::string> &folders,
               const std::vector<DayRecord> &days);

} // namespace wendle::report
