#include "report/report_command.h"

#include "report/dates.h"
#include "report/record_reader.h"
#include "report/report_entries.h"
#include "report/report_output.h"
#include "report/timeline.h"

#include "logging/log_paths.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>

#ifndef WENDLE_VERSION
#define WENDLE_VERSION "0"
#endif

namespace wendle::report {

namespace {

constexpr const char *Usage =
    "Usage: wendle-report [--folder DIR]... [--format text|csv|json] [--svg FILE]\n"
    "                     [--week | --month | DAY | FROM TO]\n"
    "\n"
    "Shows when logging was on: each day's stretches, their lengths, the day's\n"
    "total and a grand total, from Wendle's daily log files and the conflict\n"
    "copies sync tools make of them.\n"
    "\n"
    "  DAY, FROM, TO     yyyy-mm-dd, today or yesterday (default: today)\n"
    "  --week            the last 7 days up to today\n"
    "  --month           the last 30 days up to today\n"
    "  --folder DIR      a log folder; give it again for more, each day then the\n"
    "                    union of them (default: the ones Wendle's report uses)\n"
    "  --format FORMAT   text (a table), csv (a row a stretch) or json\n"
    "  --svg FILE        also draw the days as a timeline into FILE\n"
    "  --help, --version\n";

struct Failure {
    std::string message;
};

std::optional<LocalDate> dayArgument(const std::string &text, const LocalDate &today) {
    if (text == "today")
        return today;
    if (text == "yesterday")
        return addDays(today, -1);
    return parseIsoDate(text);
}

void checkFolder(const std::string &folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    // The folder as the daily files' paths name it: a drive root that the
    // program stores as "C:" is "C:\", an empty folder the root.
    const fs::path path = fs::u8path(dailyLogPath(folder, {2000, 1, 1})).parent_path();
    if (!fs::is_directory(path, error))
        throw Failure{"the folder " + folder + " does not exist"};
    fs::directory_iterator probe(path, error);
    if (error)
        throw Failure{"the folder " + folder + " cannot be read: " + error.message()};
}

} // namespace

int runReportCommand(const std::vector<std::string> &arguments, const LocalDate &today,
                     const std::vector<std::string> &storedFolders, std::ostream &out,
                     std::ostream &err) {
    try {
        std::vector<std::string> folders;
        std::string format = "text", svgFile;
        std::vector<LocalDate> days;
        int lastDays = 0;
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            const std::string &arg = arguments[i];
            const auto value = [&]() -> const std::string & {
                if (i + 1 >= arguments.size())
                    throw Failure{arg + " needs a value"};
                return arguments[++i];
            };
            if (arg == "--help" || arg == "-h" || arg == "-?" || arg == "/?") {
                out << Usage;
                return 0;
            } else if (arg == "--version") {
                out << "wendle-report " WENDLE_VERSION "\n";
                return 0;
            } else if (arg == "--folder") {
                folders.push_back(value());
            } else if (arg == "--format") {
                format = value();
                if (format != "text" && format != "csv" && format != "json")
                    throw Failure{"unknown format " + format + " (text, csv or json)"};
            } else if (arg == "--svg") {
                svgFile = value();
            } else if (arg == "--week" || arg == "--month") {
                lastDays = arg == "--week" ? 7 : 30;
            } else if (arg.starts_with("-") && arg != "-") {
                throw Failure{"unknown option " + arg + " (see --help)"};
            } else if (const std::optional<LocalDate> day = dayArgument(arg, today)) {
                days.push_back(*day);
            } else {
                throw Failure{"not a day: " + arg + " (yyyy-mm-dd, today or yesterday)"};
            }
        }
        if (days.size() > 2 || (lastDays && !days.empty()))
            throw Failure{"give one day, two days (from and to), --week or --month"};
        LocalDate from = days.empty() ? today : days.front();
        LocalDate to = days.size() == 2 ? days.back() : from;
        if (lastDays) {
            from = addDays(today, 1 - lastDays);
            to = today;
        }
        if (daysBetween(from, to) < 1)
            throw Failure{"the range ends before it starts: " + isoDate(from) + " to " +
                          isoDate(to)};
        const bool stored = folders.empty();
        if (stored)
            for (const std::string &folder : storedFolders)
                if (!folder.empty())
                    folders.push_back(folder);
        if (folders.empty())
            throw Failure{"no log folder is stored: give one with --folder DIR"};
        // A folder named twice is read once.
        for (std::size_t i = folders.size(); i-- > 1;)
            if (std::find(folders.begin(), folders.begin() + std::ptrdiff_t(i), folders[i]) !=
                folders.begin() + std::ptrdiff_t(i))
                folders.erase(folders.begin() + std::ptrdiff_t(i));
        for (auto at = folders.begin(); at != folders.end();) {
            try {
                checkFolder(*at);
                ++at;
            } catch (const Failure &failure) {
                // A stored report folder beside the log folder may not be
                // there yet (another computer's, not synced yet): the report
                // goes on without it, as the window does.
                if (!stored || at == folders.begin())
                    throw;
                err << "wendle-report: warning: " << failure.message << ", left out\n";
                at = folders.erase(at);
            }
        }
        const std::string folder = folderListText(folders);

        const std::vector<DayRecord> record = readRecord(folders, from, to, localMarkers());
        for (const DayRecord &day : record)
            if (!day.readError.empty())
                err << "wendle-report: warning: the log of " << isoDate(day.date)
                    << " cannot be read: " << day.readError << "\n";
        for (const DayRecord &day : record)
            if (day.copiesLeft > 0)
                err << "wendle-report: warning: " << copiesNotice(day) << "\n";
        if (!svgFile.empty()) {
            std::ofstream svg(std::filesystem::u8path(svgFile), std::ios::binary);
            svg << timelineSvg(layOutTimeline(record), timelineHeading(folder, from, to, record));
            if (!svg.flush())
                throw Failure{"cannot write " + svgFile};
        }
        if (format == "csv")
            writeCsv(out, record);
        else if (format == "json")
            writeJson(out, folders, record);
        else
            writeText(out, folder, record);
        return 0;
    } catch (const Failure &failure) {
        err << "wendle-report: " << failure.message << "\n";
        return 2;
    } catch (const std::exception &failure) {
        // Out of memory or threads: told, never a crash.
        err << "wendle-report: " << failure.what() << "\n";
        return 1;
    }
}

} // namespace wendle::report
