#include "logging/daily_log_file.h"
#include "logging/log_paths.h"
#include "logging/system_error.h"
#include "logging/text_win32.h"

#include <windows.h>

namespace wendle {

namespace {

HANDLE fileHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

bool sizeOf(HANDLE file, LARGE_INTEGER &size) {
    return GetFileSizeEx(file, &size) != 0;
}

} // namespace

bool DailyLogFile::open(const std::string &path, std::string &error, Kind kind) {
    close();
    // Append access, never write access: every write goes to the file's end at the moment
    // it is made, in one piece, also on a share that other machines write.
    // Others may read the file while it is written (an editor, the tail),
    // and a sync tool may delete it or rename another over it meanwhile. A
    // reparse point (a link, a junction) is opened as itself, and refused.
    // Reading too, to see whether the file ends within a line; where only
    // appending is allowed, lines are appended without that look.
    const auto openWith = [&](DWORD access) {
        return CreateFileW(win32::widen(path).c_str(),
                           access | FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                           nullptr);
    };
    bool readable = true;
    HANDLE file = openWith(FILE_READ_DATA);
    if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED) {
        readable = false;
        file = openWith(0);
    }
    if (file == INVALID_HANDLE_VALUE) {
        error = systemErrorText(GetLastError());
        return false;
    }
    // A device or a pipe under a log file's name would block or swallow lines.
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))) {
        CloseHandle(file);
        error = NotRegularFileText;
        return false;
    }
    m_handle = reinterpret_cast<std::intptr_t>(file);
    m_path = path;
    m_endsLines = kind == Kind::Shared && readable;
    m_identity[0] = info.dwVolumeSerialNumber;
    m_identity[1] = (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

bool DailyLogFile::append(const std::string &line, std::string &error) {
    if (!isOpen()) {
        error = systemErrorText(ERROR_INVALID_HANDLE);
        return false;
    }
    const HANDLE file = fileHandle(m_handle);
    LARGE_INTEGER before{};
    const bool known = sizeOf(file, before);
    // A line cut short by a crash, or one another program left without its
    // end, is ended first: the new line never joins it.
    std::string bytes = line;
    if (m_endsLines && known && before.QuadPart > 0) {
        OVERLAPPED at{};
        at.Offset = DWORD(before.QuadPart - 1);
        at.OffsetHigh = DWORD((before.QuadPart - 1) >> 32);
        char last = '\n';
        DWORD got = 0;
        if (ReadFile(file, &last, 1, &got, &at) && got == 1 && last != '\n')
            bytes.insert(0, "\r\n");
    }
    DWORD failure = 0;
    DWORD written = 0;
    // The end named as the offset too: Wine makes only such a write one
    // atomic append, where Windows does it for every write of the handle.
    OVERLAPPED atEnd{};
    atEnd.Offset = atEnd.OffsetHigh = 0xFFFFFFFF;
    if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, &atEnd))
        failure = GetLastError();
    if (failure == 0 && written != bytes.size())
        failure = ERROR_DISK_FULL;
    if (failure == 0 && !FlushFileBuffers(file))
        failure = GetLastError();
    if (failure != 0) {
        // Whatever part of the line reached the file must not stay there as
        // a torn line; but bytes another writer added after it stay.
        LARGE_INTEGER now{};
        const bool oursAtEnd =
            known && sizeOf(file, now) && now.QuadPart == before.QuadPart + LONGLONG(written);
        if (written > 0 && oursAtEnd) {
            // Cutting the file takes write access, which the append handle lacks.
            const HANDLE cutter = ReOpenFile(
                file, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0);
            if (cutter != INVALID_HANDLE_VALUE) {
                if (SetFilePointerEx(cutter, before, nullptr, FILE_BEGIN))
                    SetEndOfFile(cutter);
                CloseHandle(cutter);
            }
        } else if (written > 0 && written < bytes.size()) {
            DWORD ended = 0;
            WriteFile(file, "\r\n", 2, &ended, nullptr);
        }
        error = systemErrorText(failure);
        return false;
    }
    return true;
}

bool DailyLogFile::stillNamed() const {
    if (!isOpen())
        return false;
    FILE_STANDARD_INFO standard{};
    if (GetFileInformationByHandleEx(fileHandle(m_handle), FileStandardInfo, &standard,
                                     sizeof standard) &&
        (standard.DeletePending || standard.NumberOfLinks == 0))
        return false;
    const HANDLE named =
        CreateFileW(win32::widen(m_path).c_str(), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (named == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool same =
        GetFileInformationByHandle(named, &info) && info.dwVolumeSerialNumber == m_identity[0] &&
        ((std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow) == m_identity[1];
    CloseHandle(named);
    return same;
}

void DailyLogFile::close() {
    if (!isOpen())
        return;
    CloseHandle(fileHandle(m_handle));
    m_handle = NoHandle;
    m_path.clear();
}

} // namespace wendle
