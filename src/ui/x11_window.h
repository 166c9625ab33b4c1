#pragma once

class QWidget;

namespace wendle {

// Asks that the window be mapped in its normal state the next time it is
// shown. Qt leaves the iconic initial state of a window first shown
// minimised in its WM_HINTS; the window manager would map it minimised at
// every later show. Nothing to do off X11, or before the window is made.
void clearIconicRequest(const QWidget &window);

} // namespace wendle
