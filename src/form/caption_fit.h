#pragma once

#include "form/layout.h"

#include <string_view>

namespace wendle::form {

struct PixelSize {
    int width = 0;
    int height = 0;
};

enum class CaptionKind { Label, CheckBox, Button };

// How a front end measures the window's captions. Font sizes are in the
// front end's own unit (points, or pixels of character height).
class CaptionMeasure {
public:
    virtual ~CaptionMeasure() = default;
    // The room the text takes at that font size.
    virtual PixelSize textSize(std::string_view text, double fontSize) = 0;
    // What that kind of control adds around its text (a check box's box,
    // a button's margins).
    virtual PixelSize around(CaptionKind kind) = 0;
    // The control's own room.
    virtual PixelSize room(const ControlPlace &place) = 0;
};

// True when every caption of the window can be read whole in its control at
// that font size. Trailing spaces belong to a caption but need no room.
bool captionsFit(CaptionMeasure &measure, double fontSize);

// The largest font size, from `largest` down by `step`, at which every
// caption fits; `smallest` when none does. The layout is fixed, so the text
// adapts.
double fittingCaptionSize(CaptionMeasure &measure, double largest, double smallest, double step);

} // namespace wendle::form
