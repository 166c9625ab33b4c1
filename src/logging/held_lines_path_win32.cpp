#include "logging/held_lines.h"
#include "logging/text_win32.h"

#include <windows.h>

namespace wendle {

std::string heldLinesPath() {
    // Without LOCALAPPDATA there is no folder known to be the user's own: a
    // folder such as C:\Wendle could be another user's.
    wchar_t folder[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || length < 3)
        return {};
    return win32::narrow(folder) + "\\Wendle\\held-lines";
}

} // namespace wendle
