#include "logging/clock.h"

#include <windows.h>

namespace wendle {

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

ClockReading SystemClock::read() const {
    FILETIME now{};
    fileTimeReader()(&now);
    const std::int64_t ticks = (std::int64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    SYSTEMTIME utc{}, local{};
    FileTimeToSystemTime(&now, &utc);
    // The zone as the system has it now, so a change shows at the next tick.
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        GetLocalTime(&local);
    // Leaves out the time spent asleep or hibernating (Windows 7 and later).
    ULONGLONG steady = 0;
    QueryUnbiasedInterruptTime(&steady);
    return {{{local.wYear, local.wMonth, local.wDay}, {local.wHour, local.wMinute, local.wSecond}},
            ticks / 10000 - 11644473600000LL, // 100 ns since 1601 -> ms since 1970
            static_cast<std::int64_t>(steady / 10000)};
}

} // namespace wendle
