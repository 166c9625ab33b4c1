#include "report/time_of_day.h"

#include <windows.h>

namespace wendle::report {

namespace {

// In the ANSI code page, as the program writes its lines.
std::string localeText(LCTYPE what) {
    char text[32] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, what, text, sizeof text);
    return text;
}

} // namespace

DayHalfMarkers localMarkers() {
    DayHalfMarkers markers{{"AM", "a.m."}, {"PM", "p.m."}};
    markers.am.push_back(localeText(LOCALE_S1159));
    markers.pm.push_back(localeText(LOCALE_S2359));
    return markers;
}

} // namespace wendle::report
