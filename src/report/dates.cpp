#include "report/dates.h"

#include <charconv>

namespace wendle::report {

using namespace std::chrono;

sys_days toDays(const LocalDate &date) {
    return sys_days{year{date.year} / month{unsigned(date.month)} / day{unsigned(date.day)}};
}

LocalDate fromDays(sys_days days) {
    const year_month_day ymd{days};
    return {int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day()))};
}

LocalDate addDays(const LocalDate &date, int count) {
    return fromDays(toDays(date) + std::chrono::days{count});
}

int daysBetween(const LocalDate &from, const LocalDate &to) {
    return int((toDays(to) - toDays(from)).count()) + 1;
}

std::optional<LocalDate> parseIsoDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    int parts[3];
    const std::string_view fields[3] = {text.substr(0, 4), text.substr(5, 2), text.substr(8, 2)};
    for (int i = 0; i < 3; ++i) {
        const auto [end, error] =
            std::from_chars(fields[i].data(), fields[i].data() + fields[i].size(), parts[i]);
        if (error != std::errc() || end != fields[i].data() + fields[i].size())
            return std::nullopt;
    }
    const year_month_day ymd{year{parts[0]}, month{unsigned(parts[1])}, day{unsigned(parts[2])}};
    if (!ymd.ok())
        return std::nullopt;
    return LocalDate{parts[0], parts[1], parts[2]};
}

const char *weekdayName(const LocalDate &date) {
    static const char *const names[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    return names[weekday{toDays(date)}.c_encoding()];
}

} // namespace wendle::report
