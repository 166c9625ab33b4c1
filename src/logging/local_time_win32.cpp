#include "logging/clock.h"

#include <windows.h>

namespace wendle {

LocalDateTime SystemClock::now() const {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {{now.wYear, now.wMonth, now.wDay}, {now.wHour, now.wMinute, now.wSecond}};
}

namespace {

using FileTimeReader = void(WINAPI *)(LPFILETIME);

// The precise clock where the system has it (Windows 8 and later); Windows
// 7 has only the coarser one, whose steps of 10-16 ms the tick schedule
// rides out. Resolved at run time, so that Windows 7's loader takes the
// program at all.
FileTimeReader fileTimeReader() {
    static const FileTimeReader reader = [] {
        const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
        const FARPROC precise =
            kernel ? GetProcAddress(kernel, "GetSystemTimePreciseAsFileTime") : nullptr;
        return precise ? reinterpret_cast<FileTimeReader>(reinterpret_cast<void (*)()>(precise))
                       : &GetSystemTimeAsFileTime;
    }();
    return reader;
}

} // namespace

std::int64_t SystemClock::epochMilliseconds() const {
    FILETIME now{};
    fileTimeReader()(&now);
    const std::int64_t ticks = (std::int64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return ticks / 10000 - 11644473600000LL; // 100 ns since 1601 -> ms since 1970
}

} // namespace wendle
