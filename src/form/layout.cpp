#include "form/layout.h"

#include <algorithm>

namespace wendle::form {

const ControlPlace &controlPlace(std::string_view name) {
    for (const ControlPlace &place : Controls)
        if (place.name == name)
            return place;
    return Controls[0];
}

Area keptOnScreen(const Area &window, const Area &available) {
    Area kept = window;
    kept.left = std::max(available.left,
                         std::min(window.left, available.left + available.width - window.width));
    kept.top = std::max(available.top,
                        std::min(window.top, available.top + available.height - window.height));
    return kept;
}

int twipsToPixels(int twips, double dpi) {
    // Rounded half away from zero, without a call into the maths library
    // this early in every start.
    const double pixels = twips * dpi / 1440.0;
    return pixels >= 0 ? static_cast<int>(pixels + 0.5) : -static_cast<int>(-pixels + 0.5);
}

} // namespace wendle::form
