#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wendle::report {

// The words a 12-hour clock puts before or after the time, as the log file
// holds them. English ones are always known; the user's locale adds its own.
struct DayHalfMarkers {
    std::vector<std::string> am;
    std::vector<std::string> pm;
};

// English markers and the current locale's.
DayHalfMarkers localMarkers();

// The time of day of one log line, in seconds since midnight: "14:03:12",
// "2:03:12 PM", "02:03:12 PM", " 9:00:00", "14.03.12", a marker before or after
// the time; a CR or spaces around it. Nothing when the line is not one of these.
std::optional<int> parseTimeOfDay(std::string_view line, const DayHalfMarkers &markers);

} // namespace wendle::report
