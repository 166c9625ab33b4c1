#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wendle::report {

// The words a 12-hour clock puts before or after the time, as the log file
// holds them. English ones are always known; the user's locale adds its own,
// and the other words its long time format writes around the numbers.
struct DayHalfMarkers {
    std::vector<std::string> am;
    std::vector<std::string> pm;
    std::vector<std::string> words;
};

// English markers and the current locale's (LC_TIME), with the words of its
// long time format.
DayHalfMarkers localMarkers();

// The words of a long time format, without its fields: "kl." of "kl. %H.%M %z".
std::vector<std::string> formatWords(std::string_view format);

// The time of day of one log line, in seconds since midnight, as any locale's
// long time format writes it: "14:03:12", "2:03:12 PM", "02:03:12 PM",
// " 9:00:00", "14.03.12", "11時03分36秒", "11시 04분 18초", a marker of the day's
// half before or after the time, a zone's name or offset ("UTC", "+0530")
// before or after it, the format's own words; without seconds at the minute's
// start; a CR or spaces around it. Nothing when the line is not one of these.
std::optional<int> parseTimeOfDay(std::string_view line, const DayHalfMarkers &markers);

} // namespace wendle::report
