#include "report/time_of_day.h"

#include <langinfo.h>

namespace wendle::report {

DayHalfMarkers localMarkers() {
    DayHalfMarkers markers{{"AM", "a.m."}, {"PM", "p.m."}, {}};
    markers.am.emplace_back(nl_langinfo(AM_STR));
    markers.pm.emplace_back(nl_langinfo(PM_STR));
    // %X writes T_FMT; %r inside it writes T_FMT_AMPM.
    for (const nl_item format : {T_FMT, T_FMT_AMPM})
        for (std::string &word : formatWords(nl_langinfo(format)))
            markers.words.push_back(std::move(word));
    return markers;
}

} // namespace wendle::report
