#pragma once

#include <windows.h>

namespace wendle::win32 {

// Sizes for one window's DPI. Windows 10 tells each window its own monitor's
// DPI and answers for it; Windows 7 and 8 know the system's DPI only, and
// there these answer as the older calls do. Looked up at run time, as
// Windows 7's loader refuses a program that imports what it lacks.
int systemDpi();
// The DPI the window is drawn at now: its monitor's, or otherwise.
int windowDpi(HWND window, int otherwise);
int metricForDpi(int index, int dpi);
// The frame around a client area, for a window drawn at dpi.
void frameForDpi(RECT &client, DWORD style, DWORD exStyle, int dpi);
// The user's font for messages at dpi.
LOGFONTW messageFontForDpi(int dpi);

} // namespace wendle::win32
