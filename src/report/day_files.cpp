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
    std::vector<fs::path> listed;
    for (std::size_t f = 0; f < folders.size(); ++f) {
        // The folder as the day files' paths name it (a drive root "C:" is "C:\").
        const fs::path folder = fs::u8path(dailyLogPath(folders[f], from)).parent_path();
        // A folder named again another way ("a/" for "a", a link to it) is
        // read once: its copies would be counted and listed twice.
        std::error_code ignored;
        if (std::any_of(listed.begin(), listed.end(), [&](const fs::path &earlier) {
                return earlier == folder || fs::equivalent(earlier, folder, ignored);
            }))
            continue;
        listed.push_back(folder);
        for (std::size_t d = 0; d < days.size(); ++d) {
            const std::string path = dailyLogPath(folders[f], addDays(from, int(d)));
            days[d].files.push_back({path, f == 0 ? path.substr(path.size() - 14) : path, false});
            copies[d].clear();
        }
        if (days.empty())
            continue;
        std::error_code error;
        fs::directory_iterator entry(folder, error), end;
        for (; !error && entry != end; entry.increment(error)) {
            const std::u8string wide = entry->path().filename().u8string();
            const std::string name(wide.begin(), wide.end());
            LocalDate date{0, 0, 0};
            // A folder or a device so named is no copy a sync tool made.
            if (!isConflictCopyName(name, &date) || !entry->is_regular_file(ignored))
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
