#include "logging/log_paths.h"

namespace wendle {

std::string dailyLogPath(const std::string &folder, const LocalDate &date, char separator) {
    std::string path = folder;
    if (path.empty() || path.back() != separator)
        path += separator;
    return path + isoDate(date) + ".log";
}

} // namespace wendle
