#pragma once

namespace wendle::form {

// How much larger than its twips the window is drawn for the user's font:
// the user's size over the toolkit's default, never below 1, so a larger
// font gets a larger window with whole captions and the default font the
// window as designed. Sizes in any one unit (points, pixels).
double fontScale(double userSize, double defaultSize);

// Both toolkits' own default: 9 pt (Qt on Linux; the message font of
// Windows, 12 px at 96 dpi).
inline constexpr double DefaultFontPoints = 9.0;

} // namespace wendle::form
