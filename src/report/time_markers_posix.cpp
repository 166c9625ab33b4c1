#include "report/time_of_day.h"

#include <langinfo.h>

namespace wendle::report {

DayHalfMarkers localMarkers() {
    DayHalfMarkers markers{{"AM", "a.m."}, {"PM", "p.m."}};
    markers.am.emplace_back(nl_langinfo(AM_STR));
    markers.pm.emplace_back(nl_langinfo(PM_STR));
    return markers;
}

} // namespace wendle::report
