#include "win32/folder_picker.h"

#include "form/folder_path.h"
#include "logging/log_paths.h"
#include "logging/text_win32.h"

#include <objbase.h>

#include <vector>

namespace wendle::win32 {

namespace {

// The longest path the shell can hand over; far more than files may have.
constexpr DWORD LongestShellPath = 32768;

} // namespace

std::string BrowseInitialFolder;

int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM parameter, LPARAM) {
    switch (message) {
    case BFFM_INITIALIZED: {
        const std::wstring folder = widen(BrowseInitialFolder);
        SendMessageW(window, BFFM_SETSELECTIONW, 1, reinterpret_cast<LPARAM>(folder.c_str()));
        break;
    }
    case BFFM_SELCHANGED: {
        std::vector<wchar_t> path(LongestShellPath, L'\0');
        if (SHGetPathFromIDListEx(reinterpret_cast<PCIDLIST_ABSOLUTE>(parameter), path.data(),
                                  LongestShellPath, GPFIDL_DEFAULT))
            SendMessageW(window, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path.data()));
        break;
    }
    default:
        break;
    }
    return 0;
}

ChosenFolder BrowseForFolder(HWND owner, const std::string &title, const std::string &initialFolder,
                             bool newStyle, BFFCALLBACK callback) {
    BrowseInitialFolder = initialFolder;
    const BFFCALLBACK procedure = callback ? callback : BrowseCallback;
    const std::wstring wideTitle = widen(title); // lives while the browser is open

    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = nullptr;
    info.lpszTitle = wideTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | (newStyle ? BIF_NEWDIALOGSTYLE : 0);
    info.lpfn = initialFolder.empty() ? nullptr : procedure;
    info.lParam = 0;
    info.iImage = 0;

    PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
    if (!item)
        return {};

    // A buffer of MAX_PATH would cut a longer path short without a word;
    // the whole path is taken, and judged below.
    std::vector<wchar_t> path(LongestShellPath, L'\0');
    const bool found = SHGetPathFromIDListEx(item, path.data(), LongestShellPath, GPFIDL_DEFAULT);
    CoTaskMemFree(item);
    const std::string folder = found ? form::cleanFolderPath(narrow(path.data())) : std::string();
    if (folder.empty())
        return {{},
                "The item chosen is not a folder on a disk, so Wendle cannot write its log "
                "files there. Choose a folder of a drive or a network share."};
    if (std::string refusal = folderRefusal(folder); !refusal.empty())
        return {{}, std::move(refusal)};
    return {folder, {}};
}

std::string folderRefusal(const std::string &folder) {
    // Windows opens files by a path of at most MAX_PATH - 1 characters.
    const std::size_t longest = widen(dailyLogPath(folder, {2000, 1, 1})).size();
    if (longest < MAX_PATH)
        return {};
    return "The folder " + folder + " has too long a path: its log files would be named with " +
           std::to_string(longest) + " characters, and Windows allows " +
           std::to_string(MAX_PATH - 1) + ". Choose a folder with a shorter path.";
}

} // namespace wendle::win32
