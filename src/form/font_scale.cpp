#include "form/font_scale.h"

namespace wendle::form {

double fontScale(double userSize, double defaultSize) {
    if (userSize <= 0 || defaultSize <= 0 || userSize <= defaultSize)
        return 1.0;
    return userSize / defaultSize;
}

} // namespace wendle::form
