#pragma once

// The Windows shell's folder browser, through the ANSI forms of the shell
// calls. No Qt here.
#ifdef _WIN32

#include <string>

namespace wendle::win32 {

// owner is the owning window's HWND.
std::wstring BrowseForFolder(void *owner, const std::wstring &title,
                             const std::wstring &initialFolder, bool newStyle);

} // namespace wendle::win32

#endif // _WIN32
