// tray_probe: what the running wendle.exe's window does with messages that
// are not from its icon, and with Explorer starting again. The pointer
// moving over every x from 0 to 1000 must neither show nor hide the window
// nor open its menu; an icon the shell lost must come back on
// "TaskbarCreated". Status 0 when both hold.
//   tray_probe lock|unlock|disconnect|connect|suspend|resume
// tells the window, as Windows does, that the session was locked or
// unlocked, disconnected from the console or connected to a remote screen,
// or that the computer suspends or resumes.
#include "win32/main_window.h"

#include <windows.h>

#include <shellapi.h>
#include <wtsapi32.h>

#include <cstdio>
#include <cstring>

namespace {

HWND g_window;

BOOL CALLBACK findMenu(HWND window, LPARAM found) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    DWORD process = 0, ours = 0;
    GetWindowThreadProcessId(window, &process);
    GetWindowThreadProcessId(g_window, &ours);
    if (process == ours && IsWindowVisible(window) && lstrcmpW(name, L"#32768") == 0)
        *reinterpret_cast<bool *>(found) = true;
    return TRUE;
}

bool iconThere() {
    NOTIFYICONDATAW icon{};
    icon.cbSize = NOTIFYICONDATAW_V1_SIZE;
    icon.hWnd = g_window;
    icon.uID = 1;
    return Shell_NotifyIconW(NIM_MODIFY, &icon) != FALSE;
}

} // namespace

// What the session's change is as a window message.
struct SessionMessage {
    const char *name;
    UINT message;
    WPARAM change;
};
constexpr SessionMessage SessionMessages[] = {
    {"lock", WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK},
    {"unlock", WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK},
    {"disconnect", WM_WTSSESSION_CHANGE, WTS_CONSOLE_DISCONNECT},
    {"connect", WM_WTSSESSION_CHANGE, WTS_REMOTE_CONNECT},
    {"suspend", WM_POWERBROADCAST, PBT_APMSUSPEND},
    {"resume", WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC},
};

int main(int argc, char **argv) {
    g_window = FindWindowW(wendle::win32::MainWindow::ClassName, nullptr);
    if (!g_window)
        return std::puts("FAIL: no Wendle window"), 1;
    if (argc > 1) {
        for (const SessionMessage &session : SessionMessages)
            if (std::strcmp(argv[1], session.name) == 0) {
                DWORD_PTR result = 0;
                if (!SendMessageTimeoutW(g_window, session.message, session.change, 0,
                                         SMTO_ABORTIFHUNG, 30000, &result))
                    return std::puts("FAIL: the window did not take the message"), 1;
                return std::puts("PASS"), 0;
            }
        return std::printf("FAIL: no such change: %s\n", argv[1]), 2;
    }
    const bool visible = IsWindowVisible(g_window);
    DWORD_PTR result = 0;
    for (int x = 0; x <= 1000; ++x)
        SendMessageTimeoutW(g_window, WM_MOUSEMOVE, 0, MAKELPARAM(x, 5), SMTO_ABORTIFHUNG, 5000,
                            &result);
    bool menu = false;
    EnumWindows(findMenu, reinterpret_cast<LPARAM>(&menu));
    if (menu || IsWindowVisible(g_window) != visible)
        return std::puts("FAIL: the pointer moving over the window acted as a click"), 1;

    if (!iconThere())
        return std::puts("FAIL: no icon to begin with"), 1;
    NOTIFYICONDATAW gone{};
    gone.cbSize = NOTIFYICONDATAW_V1_SIZE;
    gone.hWnd = g_window;
    gone.uID = 1;
    Shell_NotifyIconW(NIM_DELETE, &gone);
    if (iconThere())
        return std::puts("FAIL: the icon could not be taken away"), 1;
    SendMessageTimeoutW(g_window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG,
                        5000, &result);
    if (!iconThere())
        return std::puts("FAIL: the icon did not come back on TaskbarCreated"), 1;
    std::puts("PASS");
    return 0;
}
