#pragma once

// The Windows shell's folder browser, through the ANSI forms of the shell
// calls. No Qt here.
#ifdef _WIN32

#include <string>

#include <shlobj.h>
#include <windows.h>

namespace wendle::win32 {

// The browser's callback: selects the initial folder of the latest browse
// as the browser opens, and shows the selected folder's path as status.
int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM parameter, LPARAM data);

// Shows the shell's folder browser, modal to owner; returns the chosen
// folder (a drive root as C:), or an empty text. The callback, BrowseCallback
// when none is given, is installed only with a non-empty initial folder.
std::wstring BrowseForFolder(HWND owner, const std::wstring &title,
                             const std::wstring &initialFolder, bool newStyle,
                             BFFCALLBACK callback = nullptr);

} // namespace wendle::win32

#endif // _WIN32
