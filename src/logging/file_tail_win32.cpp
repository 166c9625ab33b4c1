#include "logging/log_tail.h"
#include "logging/system_error.h"
#include "logging/text_win32.h"

#include <windows.h>

#include <algorithm>

namespace wendle {

namespace {

// The most bytes one character takes in the ANSI code page: 1, 2 for the
// East Asian double-byte code pages, 4 where the code page is UTF-8.
unsigned maxCharBytes() {
    CPINFO info{};
    return GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 0 ? info.MaxCharSize : 1;
}

} // namespace

FileEnd readFileEnd(const std::string &path, std::size_t maxChars) {
    FileEnd end;
    const HANDLE file = CreateFileW(win32::widen(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        end.status = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                         ? LogTail::Status::Missing
                         : LogTail::Status::Failed;
        end.error = systemErrorText(error);
        return end;
    }
    LARGE_INTEGER size{};
    if (GetFileType(file) != FILE_TYPE_DISK) {
        end.error = NotRegularFileText;
        CloseHandle(file);
        return end;
    }
    if (!GetFileSizeEx(file, &size)) {
        end.error = systemErrorText(GetLastError());
        CloseHandle(file);
        return end;
    }
    const LONGLONG want =
        std::min<LONGLONG>(size.QuadPart, static_cast<LONGLONG>(maxChars) * maxCharBytes());
    LARGE_INTEGER start{};
    start.QuadPart = size.QuadPart - want;
    end.cut = start.QuadPart > 0;
    end.bytes.resize(static_cast<std::size_t>(want));
    DWORD got = 0;
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN) ||
        !ReadFile(file, end.bytes.data(), static_cast<DWORD>(end.bytes.size()), &got, nullptr)) {
        end.error = systemErrorText(GetLastError());
        CloseHandle(file);
        return end;
    }
    CloseHandle(file);
    end.bytes.resize(got); // the file may have shrunk meanwhile
    end.status = LogTail::Status::Read;
    return end;
}

std::string logTextToUtf8(const std::string &bytes, bool cut) {
    std::size_t skip = 0;
    // In a double-byte code page a cut may leave a lone trail byte, which
    // cannot be told apart from a character; bytes below 0x40 are never
    // trail bytes, so the text starts after the first of them.
    if (cut && maxCharBytes() == 2) {
        while (skip < bytes.size() && static_cast<unsigned char>(bytes[skip]) >= 0x40)
            ++skip;
        skip = std::min(skip + 1, bytes.size());
    }
    return win32::fromAnsi(bytes.data() + skip, bytes.size() - skip);
}

} // namespace wendle
