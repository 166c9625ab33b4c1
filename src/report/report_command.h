#pragma once

#include "logging/local_time.h"

#include <ostream>
#include <string>
#include <vector>

namespace wendle::report {

// wendle-report [--folder DIR]... [--format text|csv|json] [--svg FILE]
//               [--week | --month | DAY | FROM TO]
// The folders default to those stored in the settings (the log folder and
// the extra ones), the days to today.
// Returns the exit status: 0, or 2 with one line on err.
int runReportCommand(const std::vector<std::string> &arguments, const LocalDate &today,
                     const std::vector<std::string> &storedFolders, std::ostream &out,
                     std::ostream &err);

// The command line's arguments after the program's name, as UTF-8.
std::vector<std::string> commandLineArguments(int argc, char *argv[]);

// Where the command's UTF-8 text goes: the standard output and error, on a
// Windows console through its wide API.
std::ostream &standardOutput();
std::ostream &standardError();

} // namespace wendle::report
