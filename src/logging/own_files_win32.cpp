#include "logging/own_files.h"

#include "logging/system_error.h"
#include "logging/text_win32.h"

#include <windows.h>

#include <string>

namespace wendle {

namespace {

// Far past any size the file reaches, so that the process number at its
// start stays readable to a copy that finds the lock held.
constexpr DWORD LockOffsetHigh = 0x7FFF0000;

} // namespace

// The folder lies under the user's profile (LOCALAPPDATA), whose access
// rules it inherits: for the user alone. A link or junction in its place is
// refused, as it could lead anywhere.
bool prepareOwnFolder(const std::string &folder, std::string &error) {
    const std::wstring wide = win32::widen(folder);
    DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        // Each missing folder from the outermost in.
        for (std::size_t at = wide.find(L'\\', 3);; at = wide.find(L'\\', at + 1)) {
            const std::wstring part = wide.substr(0, at);
            if (GetFileAttributesW(part.c_str()) == INVALID_FILE_ATTRIBUTES &&
                !CreateDirectoryW(part.c_str(), nullptr) &&
                GetLastError() != ERROR_ALREADY_EXISTS) {
                error = systemErrorText(GetLastError());
                return false;
            }
            if (at == std::wstring::npos)
                break;
        }
        attributes = GetFileAttributesW(wide.c_str());
    }
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        error = "the folder " + folder + " is not a folder of your own";
        return false;
    }
    return true;
}

bool renameDurably(const std::string &from, const std::string &to, std::string &error) {
    // Returns only once the rename is on disk.
    if (!MoveFileExW(win32::widen(from).c_str(), win32::widen(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = systemErrorText(GetLastError());
        return false;
    }
    return true;
}

bool removeDurably(const std::string &path, std::string &error) {
    if (!DeleteFileW(win32::widen(path).c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND &&
        GetLastError() != ERROR_PATH_NOT_FOUND) {
        error = systemErrorText(GetLastError());
        return false;
    }
    return true;
}

// NTFS journals a new name itself.
void syncFolderOf(const std::string &) {}

bool lockOwnFile(const std::string &path, std::intptr_t &handle, std::string &error) {
    const HANDLE file = CreateFileW(win32::widen(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = systemErrorText(GetLastError());
        return false;
    }
    OVERLAPPED at{};
    at.OffsetHigh = LockOffsetHigh;
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        const DWORD reason = GetLastError();
        char text[32] = {};
        DWORD got = 0;
        ReadFile(file, text, sizeof text - 1, &got, nullptr);
        CloseHandle(file);
        if (reason != ERROR_LOCK_VIOLATION && reason != ERROR_IO_PENDING) {
            error = systemErrorText(reason);
            return false;
        }
        error = "another running copy of Wendle" +
                (got > 0 ? " (process " + std::string(text, got) + ")" : std::string()) +
                " holds it";
        return false;
    }
    const std::string self = std::to_string(GetCurrentProcessId());
    DWORD written = 0;
    if (SetEndOfFile(file))
        WriteFile(file, self.data(), DWORD(self.size()), &written, nullptr);
    handle = reinterpret_cast<std::intptr_t>(file);
    return true;
}

void unlockOwnFile(std::intptr_t handle) {
    CloseHandle(reinterpret_cast<HANDLE>(handle));
}

} // namespace wendle
