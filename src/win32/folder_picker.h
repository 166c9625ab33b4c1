#pragma once

// The Windows shell's folder browser, through the ANSI forms of the shell
// calls. Text in and out is UTF-8.
#include <string>

#include <shlobj.h>
#include <windows.h>

namespace wendle::win32 {

// The initial folder of the latest BrowseForFolder call, for BrowseCallback.
extern std::string BrowseInitialFolder;

// The browser's callback: selects BrowseInitialFolder as the browser opens,
// and shows the selected folder's path as status. Returns 0.
int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM parameter, LPARAM data);

// Shows the shell's folder browser, modal to owner; returns the chosen
// folder (a drive root as C:), or an empty text when the user cancels or the
// item has no file-system path. The callback, BrowseCallback when none is
// given, is installed only with a non-empty initial folder.
std::string BrowseForFolder(HWND owner, const std::string &title, const std::string &initialFolder,
                            bool newStyle, BFFCALLBACK callback = nullptr);

} // namespace wendle::win32
