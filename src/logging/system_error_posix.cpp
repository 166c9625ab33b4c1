#include "logging/system_error.h"

#include <cstring>

namespace wendle {

std::string systemErrorText(unsigned long error) {
    return std::strerror(static_cast<int>(error));
}

} // namespace wendle
