#pragma once

#include "report/day_files.h"
#include "report/day_record.h"

#include <cstdint>
#include <string>
#include <vector>

namespace wendle::report {

// The record of every date from one to the other, both included, from the
// daily log files in the folders and the conflict copies of them; each day
// is the union of what all its files cover. Days are read side by side on
// every core, each one whole and alone, so memory does not grow with the
// number of days.
std::vector<DayRecord> readRecord(const std::vector<std::string> &folders, const LocalDate &from,
                                  const LocalDate &to, const DayHalfMarkers &markers);

// One of a day's files read into the day's record: its stretches united
// with the day's, what it could not read told under its name. The first
// of a day's files is its day file in the first folder.
void addFileRecord(DayRecord &day, const DayFile &file, const DayRecord &record, bool first);

// A day from its files, each read alone with the reader's limits; with a
// limit, at most that many bytes of each.
DayRecord readDayFiles(const DayFiles &files, const LocalDate &date, const DayHalfMarkers &markers,
                       std::uint64_t limit = UINT64_MAX);

} // namespace wendle::report
