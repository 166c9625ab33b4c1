#include "logging/log_paths.h"

#include <cstdio>

namespace wendle {

std::string isoDate(const LocalDate &date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year % 10000, date.month % 100,
                  date.day % 100);
    return text;
}

std::string dailyLogPath(const std::string &folder, const LocalDate &date, char separator) {
    std::string path = folder;
    if (path.empty() || path.back() != separator)
        path += separator;
    return path + isoDate(date) + ".log";
}

} // namespace wendle
