#pragma once

#include <QString>

#include <cstring>

namespace wendle {

// The system's own words for an errno value, for messages to the user.
inline QString systemErrorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace wendle
