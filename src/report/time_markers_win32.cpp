#include "report/time_of_day.h"

#include <windows.h>

namespace wendle::report {

namespace {

// In the ANSI code page, as the program writes its lines.
std::string localeText(LCTYPE what) {
    char text[128] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, what, text, sizeof text);
    return text;
}

// The picture's fields (h, H, m, s, t) as strftime's, its quotes taken off.
std::string asStrftime(const std::string &picture) {
    std::string format;
    bool quoted = false;
    for (char c : picture) {
        if (c == '\'')
            quoted = !quoted;
        else if (!quoted && std::string_view("hHmst").find(c) != std::string_view::npos)
            format += format.ends_with("%x") ? "" : "%x";
        else
            format += c;
    }
    return format;
}

} // namespace

DayHalfMarkers localMarkers() {
    DayHalfMarkers markers{{"AM", "a.m."}, {"PM", "p.m."}, {}};
    markers.am.push_back(localeText(LOCALE_S1159));
    markers.pm.push_back(localeText(LOCALE_S2359));
    markers.words = formatWords(asStrftime(localeText(LOCALE_STIMEFORMAT)));
    return markers;
}

} // namespace wendle::report
