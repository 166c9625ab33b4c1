#pragma once

#include "report/day_record.h"

#include <string>
#include <vector>

namespace wendle::report {

// The record of every date from one to the other, both included, from the
// daily log files in the folder; days are read side by side on every core,
// each one whole and alone, so memory does not grow with the number of days.
std::vector<DayRecord> readRecord(const std::string &folder, const LocalDate &from,
                                  const LocalDate &to, const DayHalfMarkers &markers);

} // namespace wendle::report
