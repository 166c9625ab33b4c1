#include "settings/registry.h"

namespace wendle {

std::string StripAtNul(const std::string &text) {
    return text.substr(0, text.find('\0'));
}

} // namespace wendle
