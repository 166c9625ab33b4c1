#include "form/layout.h"

#include <cmath>

namespace wendle::form {

const ControlPlace &controlPlace(std::string_view name) {
    for (const ControlPlace &place : Controls)
        if (place.name == name)
            return place;
    return Controls[0];
}

int twipsToPixels(int twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

} // namespace wendle::form
