#include "logging/held_lines.h"
#include "logging/text_win32.h"

#include <windows.h>

namespace wendle {

std::string heldLinesPath() {
    wchar_t folder[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", folder, MAX_PATH);
    const std::string base =
        length > 0 && length < MAX_PATH ? win32::narrow(folder) : std::string("C:");
    return base + "\\Wendle\\held-lines";
}

} // namespace wendle
