#include "logging/clock.h"
#include "settings/login_start.h"
#include "win32/main_window.h"

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace {

// A second start finds the running copy's window and asks it forward; the
// copy may still be starting, so it looks for a few seconds.
void callRunningCopy() {
    for (int tries = 0; tries < 50; ++tries) {
        if (const HWND running = FindWindowW(wendle::win32::MainWindow::ClassName, nullptr)) {
            DWORD process = 0;
            GetWindowThreadProcessId(running, &process);
            AllowSetForegroundWindow(process);
            PostMessageW(running, wendle::win32::MainWindow::ComeForwardMessage, 0, 0);
            return;
        }
        Sleep(100);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    int count = 0;
    wchar_t **arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    const std::wstring minimized = L"--minimized";
    bool startMinimized = false;
    for (int i = 1; i < count; ++i) {
        const std::wstring argument = arguments[i];
        if (argument == minimized) {
            startMinimized = true;
        } else if (argument == L"--help" || argument == L"--version") {
            MessageBoxW(nullptr,
                        argument == L"--version"
                            ? L"wendle " WENDLE_VERSION_W
                            : L"wendle [--minimized]\n\nRecords the time of day at a fixed "
                              L"interval, one log file a day.\n\n--minimized  start hidden in the "
                              L"notification area",
                        L"Wendle", MB_OK);
            LocalFree(arguments);
            return 0;
        } else {
            MessageBoxW(nullptr, (L"Unknown option: " + argument).c_str(), L"Wendle",
                        MB_OK | MB_ICONWARNING);
            LocalFree(arguments);
            return 2;
        }
    }
    LocalFree(arguments);

    // One Wendle per user: the mutex goes with the process, however it ends.
    const HANDLE only = CreateMutexW(nullptr, FALSE, L"Local\\QuorvelWendle.Running");
    if (only && GetLastError() == ERROR_ALREADY_EXISTS) {
        callRunningCopy();
        CloseHandle(only);
        return 0;
    }

    wendle::SystemClock clock;
    wendle::win32::MainWindow window(instance, clock);
    window.load();
    if (window.isUnloaded())
        return 0;
    if (startMinimized)
        window.showMinimized();
    else
        window.show();
    return window.run();
}
