#include "logging/local_time.h"

#include <cstdio>

namespace wendle {

std::string isoDate(const LocalDate &date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year % 10000, date.month % 100,
                  date.day % 100);
    return text;
}

} // namespace wendle
