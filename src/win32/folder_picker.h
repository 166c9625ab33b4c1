#pragma once

// The Windows shell's folder browser, through the wide forms of the shell
// calls, so that any folder the user can pick comes back whole. Text in and
// out is UTF-8.
#include <string>

#include <shlobj.h>
#include <windows.h>

namespace wendle::win32 {

// The initial folder of the latest BrowseForFolder call, for BrowseCallback.
extern std::string BrowseInitialFolder;

// The browser's callback: selects BrowseInitialFolder as the browser opens,
// and shows the selected folder's path as status. Returns 0.
int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM parameter, LPARAM data);

// What the browser gave: a folder (a drive root as C:), or nothing when the
// user cancelled. A choice the program could never log into comes back as
// nothing, with the reason to tell the user.
struct ChosenFolder {
    std::string folder;
    std::string refusal;
};

// Shows the shell's folder browser, modal to owner. The callback,
// BrowseCallback when none is given, is installed only with a non-empty
// initial folder.
ChosenFolder BrowseForFolder(HWND owner, const std::string &title, const std::string &initialFolder,
                             bool newStyle, BFFCALLBACK callback = nullptr);

// Why the program cannot log into this folder, or nothing when it can.
std::string folderRefusal(const std::string &folder);

} // namespace wendle::win32
