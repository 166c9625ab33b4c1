#pragma once

#include "logging/local_time.h"

#include <string>

namespace wendle {

// One log line: the time of day in the user's long time format, in the
// encoding the system writes text files in, ended by CR LF.
std::string timeLine(const LocalTime &time);

} // namespace wendle
