#include "report/day_files.h"

#include "logging/log_paths.h"
#include "report/dates.h"

#include <algorithm>
#include <filesystem>

namespace wendle::report {

namespace {

// No file system keeps longer names, and a pattern's stars stay cheap.
constexpr std::size_t MaxNameBytes = 255;
constexpr std::size_t DateBytes = 10; // yyyy-mm-dd
constexpr std::string_view DayFileEnd = ".log";

bool matches(std::string_view text, std::string_view pattern) {
    if (pattern.empty())
        return text.empty();
    if (pattern.front() == '*') {
        for (std::size_t n = 1; n <= text.size(); ++n)
            if (matches(text.substr(n), pattern.substr(1)))
                return true;
        return false;
    }
    if (text.empty())
        return false;
    const bool same = pattern.front() == '#' ? text.front() >= '0' && text.front() <= '9'
                                             : text.front() == pattern.front();
    return same && matches(text.substr(1), pattern.substr(1));
}

// The day file's path with another name in its folder.
std::string besideDayFile(const std::string &dayFile, const std::string &name) {
    return dayFile.substr(0, dayFile.size() - DateBytes - DayFileEnd.size()) + name;
}

} // namespace

bool isConflictCopyName(std::string_view name, LocalDate *date) {
    if (name.size() > MaxNameBytes || name.size() <= DateBytes + DayFileEnd.size())
        return false;
    const std::optional<LocalDate> day = parseIsoDate(name.substr(0, DateBytes));
    if (!day)
        return false;
    const std::string_view rest = name.substr(DateBytes);
    const bool copy =
        std::any_of(ConflictNamings.begin(), ConflictNamings.end(),
                    [&](const ConflictNaming &naming) { return matches(rest, naming.afterDate); });
    if (copy && date)
        *date = *day;
    return copy;
}

std::vector<DayFiles> dayFiles(const std::vector<std::string> &folders, const LocalDate &from,
                               int count) {
    namespace fs = std::filesystem;
    std::vector<DayFiles> days(std::size_t(std::max(0, count)));
    std::vector<std::vector<DayFile>> copies(days.size());
    std::vector<std::size_t> taken(days.size(), 0);
    for (std::size_t f = 0; f < folders.size(); ++f) {
        for (std::size_t d = 0; d < days.size(); ++d) {
            const std::string path = dailyLogPath(folders[f], addDays(from, int(d)));
            days[d].files.push_back({path, f == 0 ? path.substr(path.size() - 14) : path, false});
            copies[d].clear();
        }
        if (days.empty())
            continue;
        // The folder as the day files' paths name it (a drive root "C:" is "C:\").
        const std::string anyDay = dailyLogPath(folders[f], from);
        std::error_code error;
        fs::directory_iterator entry(fs::u8path(anyDay).parent_path(), error), end;
        for (; !error && entry != end; entry.increment(error)) {
            const std::u8string wide = entry->path().filename().u8string();
            const std::string name(wide.begin(), wide.end());
            LocalDate date{0, 0, 0};
            if (!isConflictCopyName(name, &date))
                continue;
            const int d = daysBetween(from, date) - 1;
            if (d < 0 || d >= count)
                continue;
            const std::string path = besideDayFile(days[std::size_t(d)].files.back().path, name);
            copies[std::size_t(d)].push_back({path, f == 0 ? name : path, true});
        }
        for (std::size_t d = 0; d < days.size(); ++d) {
            std::vector<DayFile> &found = copies[d];
            std::sort(found.begin(), found.end(),
                      [](const DayFile &a, const DayFile &b) { return a.path < b.path; });
            const std::size_t read = std::min(found.size(), MaxConflictCopies - taken[d]);
            taken[d] += read;
            days[d].files.insert(days[d].files.end(), found.begin(),
                                 found.begin() + std::ptrdiff_t(read));
            days[d].copiesLeft += found.size() - read;
        }
    }
    return days;
}

} // namespace wendle::report
