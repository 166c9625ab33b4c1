#pragma once

#include <string_view>

namespace wendle::form {

// The window's fixed layout, in twips (1440 to the inch, 15 to a pixel at
// 96 dpi), so that it scales with the screen's resolution. Positions are
// from the client area's top-left corner.
struct ControlPlace {
    std::string_view name;
    std::string_view caption; // the exact text, trailing spaces included
    int left, top, width, height;
};

inline constexpr ControlPlace Controls[] = {
    {"lblLogFile", "Log Time to this Folder: ", 60, 120, 2415, 195},
    {"txtLogFile", "", 60, 360, 3495, 315},
    {"cmdBrowse", "", 3600, 360, 315, 315},
    {"lblTimerInterval", "Time Check Frequency ", 120, 780, 2595, 195},
    {"sldTimerInterval", "", 60, 960, 3855, 195},
    {"cmdStart", "Start", 75, 1440, 1875, 315},
    {"cmdStop", "Stop", 2130, 1440, 1800, 315},
    {"chkAutostart", "Auto-Start ", 120, 1800, 1035, 195},
    {"cmdShowLog", "Show Recent Log  ", 2100, 1920, 1815, 315},
    {"txtLog", "", 90, 2280, 3825, 2715},
    // The interval in words, at the right end of the slider's label row.
    {"lblTimerValue", "", 2760, 780, 1155, 195},
};

constexpr int ClientWidthTwips = 4005;
constexpr int ClientHeightTwips = 5085;
// Where the client area's top-left corner goes on the screen.
constexpr int LeftTwips = 6570;
constexpr int TopTwips = 2625;

// The slider: the logging interval in whole seconds.
constexpr int IntervalMin = 1;
constexpr int IntervalMax = 60;
constexpr int IntervalSmallStep = 1;
constexpr int IntervalLargeStep = 5;
constexpr int IntervalTickEvery = 5;

// A window's top-left corner moved as little as needed for the window to lie
// inside the available area (its top-left corner first, when it is larger).
struct Area {
    int left, top, width, height;
};
Area keptOnScreen(const Area &window, const Area &available);

// The control of that name; the first one for an unknown name.
const ControlPlace &controlPlace(std::string_view name);

int twipsToPixels(int twips, double dpi);

} // namespace wendle::form
