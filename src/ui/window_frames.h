#pragma once

namespace wendle {

// The program's own top-level windows read to a screen reader as frames
// (Qt reads a plain widget window as a filler), so that moving to one
// tells its title. Dialogs and menus keep the readings Qt gives them.
void readWindowsAsFrames();

} // namespace wendle
