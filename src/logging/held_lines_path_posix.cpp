#include "logging/held_lines.h"

#include <cstdlib>
#include <string>

namespace wendle {

std::string heldLinesPath() {
    // A relative XDG_STATE_HOME is to be ignored, as the XDG rules say.
    const char *state = std::getenv("XDG_STATE_HOME");
    std::string folder;
    if (state && state[0] == '/') {
        folder = state;
    } else {
        const char *home = std::getenv("HOME");
        folder = std::string(home ? home : "") + "/.local/state";
    }
    return folder + "/wendle/held-lines";
}

} // namespace wendle
