#pragma once

namespace wendle {

// Qt reads a checkable menu item to a screen reader as a plain item, its
// state heard only when checked; this reads it as a check box, ticked or
// not. Installed once, for every menu of the program.
void readCheckableMenuItemsAsCheckBoxes();

} // namespace wendle
