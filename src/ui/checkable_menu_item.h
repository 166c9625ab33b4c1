#pragma once

namespace wendle {

// Every menu of the program read to a screen reader with its entries in
// their places, a checkable entry as a check box, ticked or not, when moved
// to and when toggled. Installed once, for every menu and every checkable
// entry, whichever menu shows it.
void readCheckableMenuItemsAsCheckBoxes();

} // namespace wendle
