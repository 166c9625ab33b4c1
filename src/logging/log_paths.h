#pragma once

#include "logging/local_time.h"

#include <string>

namespace wendle {

// The separator between a folder and a file name on this system.
extern const char PathSeparator;
// Between the folders of a list, as in PATH.
extern const char PathListSeparator;

// "<folder><separator><yyyy-mm-dd>.log". The folder is taken as the user sees
// it: no trailing separator, except that a root ("/") must not give "//".
// A drive root held as "C:" gives "C:\2003-12-02.log".
std::string dailyLogPath(const std::string &folder, const LocalDate &date,
                         char separator = PathSeparator);

} // namespace wendle
