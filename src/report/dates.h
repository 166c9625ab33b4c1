#pragma once

#include "logging/local_time.h"

#include <chrono>
#include <optional>
#include <string_view>

namespace wendle::report {

std::chrono::sys_days toDays(const LocalDate &date);
LocalDate fromDays(std::chrono::sys_days days);
LocalDate addDays(const LocalDate &date, int days);
// Days from one date to the other, counting both.
int daysBetween(const LocalDate &from, const LocalDate &to);
// "2003-12-02", a real date; nothing otherwise.
std::optional<LocalDate> parseIsoDate(std::string_view text);
// "Mon" .. "Sun".
const char *weekdayName(const LocalDate &date);

} // namespace wendle::report
