#pragma once

#include <string>

namespace wendle::form {

// The interval as the window shows it beside the slider: "10 s".
std::string intervalShortText(int seconds);
// The interval as a screen reader says it, and as the icon's tip tells it:
// "10 seconds", "1 second".
std::string intervalSpokenText(int seconds);
// The icon's tip: the window's caption, and while logging how often.
std::string trayTipText(bool logging, int seconds);

} // namespace wendle::form
