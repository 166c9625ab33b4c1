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

} // namespace

bool DailyLogFile::open(const std::string &path, std::string &error) {
    close();
    // Others may read the file while it is written (an editor, the tail),
    // and a sync tool may delete it or rename another over it meanwhile.
    const HANDLE file = CreateFileW(win32::widen(path).c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = systemErrorText(GetLastError());
        return false;
    }
    // A device or a pipe under a log file's name would block or swallow lines.
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        error = NotRegularFileText;
        return false;
    }
    m_handle = reinterpret_cast<std::intptr_t>(file);
    m_path = path;
    return true;
}

bool DailyLogFile::append(const std::string &line, std::string &error) {
    if (!isOpen()) {
        error = systemErrorText(ERROR_INVALID_HANDLE);
        return false;
    }
    const HANDLE file = fileHandle(m_handle);
    LARGE_INTEGER before{};
    DWORD failure = 0;
    if (!SetFilePointerEx(file, LARGE_INTEGER{}, &before, FILE_END))
        failure = GetLastError();
    DWORD written = 0;
    if (failure == 0 &&
        !WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr))
        failure = GetLastError();
    if (failure == 0 && written != line.size())
        failure = ERROR_DISK_FULL;
    if (failure == 0 && !FlushFileBuffers(file))
        failure = GetLastError();
    if (failure != 0) {
        // Whatever part of the line reached the file must not stay there as
        // a torn line.
        if (SetFilePointerEx(file, before, nullptr, FILE_BEGIN))
            SetEndOfFile(file);
        error = systemErrorText(failure);
        return false;
    }
    return true;
}

void DailyLogFile::close() {
    if (!isOpen())
        return;
    CloseHandle(fileHandle(m_handle));
    m_handle = NoHandle;
    m_path.clear();
}

} // namespace wendle
