#pragma once

// Resource numbers of wendle.rc.
#define IDI_CLOCK 1
#define IDI_FOLDER 2
#define IDI_CLOCK_LOGGING 3
#define IDI_CLOCK_PAUSED 4
