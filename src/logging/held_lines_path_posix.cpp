#include "logging/held_lines.h"

#include <cstdlib>
#include <string>

namespace wendle {

std::string heldLinesPath() {
    // A relative XDG_STATE_HOME is to be ignored, as the XDG rules say.
    const char *state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/')
        return std::string(state) + "/wendle/held-lines";
    // Without a home of its own the user has no private place to hold lines
    // in: "/" is no such place.
    const char *home = std::getenv("HOME");
    if (!home || home[0] != '/' || std::string(home).find_first_not_of('/') == std::string::npos)
        return {};
    return std::string(home) + "/.local/state/wendle/held-lines";
}

} // namespace wendle
