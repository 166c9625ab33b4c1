#include "win32/folder_picker.h"

#include "form/folder_path.h"
#include "logging/text_win32.h"

#include <objbase.h>

#include <cstring>

namespace wendle::win32 {

std::string BrowseInitialFolder;

int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM parameter, LPARAM) {
    switch (message) {
    case BFFM_INITIALIZED: {
        const std::string folder = toAnsi(BrowseInitialFolder);
        SendMessageA(window, BFFM_SETSELECTIONA, 1, reinterpret_cast<LPARAM>(folder.c_str()));
        break;
    }
    case BFFM_SELCHANGED: {
        char path[MAX_PATH];
        std::memset(path, 0, sizeof path);
        if (SHGetPathFromIDListA(reinterpret_cast<PCIDLIST_ABSOLUTE>(parameter), path))
            SendMessageA(window, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path));
        break;
    }
    default:
        break;
    }
    return 0;
}

std::string BrowseForFolder(HWND owner, const std::string &title, const std::string &initialFolder,
                            bool newStyle, BFFCALLBACK callback) {
    BrowseInitialFolder = initialFolder;
    const BFFCALLBACK procedure = callback ? callback : BrowseCallback;
    const std::string ansiTitle = toAnsi(title); // lives while the browser is open

    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = nullptr;
    info.lpszTitle = ansiTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | (newStyle ? BIF_NEWDIALOGSTYLE : 0);
    info.lpfn = initialFolder.empty() ? nullptr : procedure;
    info.lParam = 0;
    info.iImage = 0;

    PIDLIST_ABSOLUTE item = SHBrowseForFolderA(&info);
    if (!item)
        return std::string();

    char path[MAX_PATH];
    std::memset(path, 0, sizeof path);
    SHGetPathFromIDListA(item, path);
    CoTaskMemFree(item);
    return form::cleanFolderPath(fromAnsi(path, std::strlen(path)));
}

} // namespace wendle::win32
