#pragma once

#include <cstdint>

namespace wendle::form {

// Colours here are plain 0xRRGGBB.

// How far apart two colours are to the eye, from 1 (the same) to 21 (black
// on white), by relative luminance in sRGB.
double contrastRatio(std::uint32_t a, std::uint32_t b);

// Greyed text as the user's scheme gives it, moved toward the scheme's own
// text colour only as far as it takes to stand `minimum` to 1 against the
// background. Some dark schemes grey text so far that it all but vanishes.
std::uint32_t readableGrey(std::uint32_t grey, std::uint32_t text, std::uint32_t background,
                           double minimum = 3.0);

} // namespace wendle::form
