#include "report/clock_text.h"

#include <cstdio>

namespace wendle::report {

std::string clockText(int secondsOfDay) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", secondsOfDay / 3600, secondsOfDay / 60 % 60,
                  secondsOfDay % 60);
    return text;
}

std::string durationText(long seconds) {
    // Always with the seconds, so that every total is heard in one form.
    return std::to_string(seconds / 3600) + " h " + std::to_string(seconds / 60 % 60) + " min " +
           std::to_string(seconds % 60) + " s";
}

} // namespace wendle::report
