#pragma once

#include <QString>

#include <string>

namespace wendle {

// The core's text is UTF-8.
inline QString qt(const std::string &text) {
    return QString::fromStdString(text);
}
inline std::string utf8(const QString &text) {
    return text.toStdString();
}

} // namespace wendle
