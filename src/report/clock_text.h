#pragma once

#include <string>

namespace wendle::report {

// "09:00:00".
std::string clockText(int secondsOfDay);
// "8 h 0 min 0 s", "0 h 12 min 5 s".
std::string durationText(long seconds);

} // namespace wendle::report
