#pragma once

#include <string>

namespace wendle {

// A calendar date and a time of day on the local clock, as the user reads them.
struct LocalDate {
    int year = 1970;
    int month = 1;
    int day = 1;
    bool operator==(const LocalDate &) const = default;
};

struct LocalTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const LocalTime &) const = default;
};

struct LocalDateTime {
    LocalDate date;
    LocalTime time;
    bool operator==(const LocalDateTime &) const = default;
};

// "2003-12-02".
std::string isoDate(const LocalDate &date);

} // namespace wendle
