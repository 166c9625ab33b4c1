// tray_probe: what the running wendle.exe's window does with messages that
// are not from its icon, and with Explorer starting again. The pointer
// moving over every x from 0 to 1000 must neither show nor hide the window
// nor open its menu; an icon the shell lost must come back on
// "TaskbarCreated". Status 0 when both hold.
//   tray_probe held FOLDER: while the log folder cannot be written, the
//   notice names FOLDER (in any script) in the icon's balloon, and the tip
//   says lines are held through a slider move, Stop, Start and the icon made
//   again on "TaskbarCreated".
//   tray_probe written: the tip tells the interval again, 5 seconds.
//   tray_probe taskbar-ends: the taskbar's process ends while the window is
//   hidden in the tray: the window comes back.
//   tray_probe lock|unlock|disconnect|connect|suspend|resume [TIP]: tells
//   the window, as Windows does, that the session was locked or unlocked,
//   disconnected from the console or connected to a remote screen, or that
//   the computer suspends or resumes; with TIP, the icon's tip is then TIP.
// The icon's tip and balloon are read where the shell shows them: Wine's
// tooltip windows in the shell's own process.
#include "form/texts.h"
#include "logging/text_win32.h"
#include "remote_memory.h"
#include "win32/main_window.h"

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <wtsapi32.h>

#include <cstdio>
#include <string>
#include <vector>

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

constexpr const wchar_t *Untold = L"(untold)";

struct Shown {
    std::wstring text;
    std::wstring title; // balloons only
};

// The first tool's text of every tooltip window of another process, and a
// balloon's title.
BOOL CALLBACK collectTips(HWND tip, LPARAM into) {
    wchar_t name[32] = {};
    GetClassNameW(tip, name, 32);
    DWORD process = 0;
    GetWindowThreadProcessId(tip, &process);
    if (lstrcmpiW(name, TOOLTIPS_CLASSW) != 0 || process == GetCurrentProcessId())
        return TRUE;
    constexpr std::size_t Chars = 1024;
    RemoteMemory remote(tip, sizeof(TTTOOLINFOW) + 2 * Chars * sizeof(wchar_t));
    if (!remote.ok())
        return TRUE;
    const std::size_t textAt = sizeof(TTTOOLINFOW), titleAt = textAt + Chars * sizeof(wchar_t);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.lpszText = static_cast<wchar_t *>(remote.at(textAt));
    const wchar_t none = 0;
    remote.write(textAt, &none, sizeof none);
    remote.write(titleAt, &none, sizeof none);
    remote.write(0, &tool, sizeof tool);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(remote.at()),
                        SMTO_ABORTIFHUNG, 5000, &result);
    Shown shown;
    std::vector<wchar_t> text(Chars);
    remote.read(textAt, text.data(), Chars * sizeof(wchar_t));
    text.back() = 0;
    shown.text = text.data();
    if (GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON) {
        TTGETTITLE title{};
        title.dwSize = sizeof title;
        title.cch = Chars;
        title.pszTitle = static_cast<wchar_t *>(remote.at(titleAt));
        remote.write(0, &title, sizeof title);
        SendMessageTimeoutW(tip, TTM_GETTITLE, 0, reinterpret_cast<LPARAM>(remote.at()),
                            SMTO_ABORTIFHUNG, 5000, &result);
        remote.read(titleAt, text.data(), Chars * sizeof(wchar_t));
        text.back() = 0;
        shown.title = text.data();
        if (shown.title.empty())
            shown.title = Untold;
    }
    reinterpret_cast<std::vector<Shown> *>(into)->push_back(shown);
    return TRUE;
}

std::vector<Shown> shownTips() {
    std::vector<Shown> shown;
    EnumWindows(collectTips, reinterpret_cast<LPARAM>(&shown));
    return shown;
}

// The icon's tip: the one tooltip that is not a balloon and names the program.
std::wstring iconTip() {
    const std::wstring name = wendle::win32::widen(wendle::form::TrayTip);
    for (const Shown &shown : shownTips())
        if (shown.title.empty() && shown.text.compare(0, name.size(), name) == 0)
            return shown.text;
    return L"";
}

template <typename Condition> bool within(int seconds, Condition condition) {
    for (int tries = 0; tries < seconds * 10; ++tries) {
        if (condition())
            return true;
        Sleep(100);
    }
    return false;
}

void send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result);
}

void click(const wchar_t *caption) {
    const HWND button = FindWindowExW(g_window, nullptr, L"Button", caption);
    send(g_window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
         reinterpret_cast<LPARAM>(button));
}

int fail(const char *what, const std::wstring &tip) {
    std::printf("FAIL: %s (tip \"%s\")\n", what, wendle::win32::narrow(tip).c_str());
    return 1;
}

void removeIconAsTheShellDoes() {
    NOTIFYICONDATAW gone{};
    gone.cbSize = NOTIFYICONDATAW_V1_SIZE;
    gone.hWnd = g_window;
    gone.uID = 1;
    Shell_NotifyIconW(NIM_DELETE, &gone);
}

int checkHeld(const std::wstring &folder) {
    const std::wstring held = wendle::win32::widen(wendle::form::TrayTipHolding);
    const std::wstring title = wendle::win32::widen(wendle::form::ApplicationTitle);
    Shown balloon;
    const bool told = within(60, [&] {
        for (const Shown &shown : shownTips())
            if (!shown.title.empty() && shown.text.find(folder) != std::wstring::npos)
                return balloon = shown, true;
        return false;
    });
    if (!told)
        return fail("no balloon naming the folder", iconTip());
    std::printf("balloon \"%s\": %s\n", wendle::win32::narrow(balloon.title).c_str(),
                wendle::win32::narrow(balloon.text).c_str());
    // Wine's tooltips do not tell a balloon's title.
    if (balloon.title != title && balloon.title != Untold)
        return fail("the balloon's title is not the program's", iconTip());
    if (iconTip() != held)
        return fail("the tip does not say lines are held", iconTip());

    const HWND slider = FindWindowExW(g_window, nullptr, TRACKBAR_CLASSW, nullptr);
    send(slider, TBM_SETPOS, TRUE, 5);
    send(g_window, WM_HSCROLL, SB_THUMBPOSITION, reinterpret_cast<LPARAM>(slider));
    if (iconTip() != held)
        return fail("a slider move put back the plain tip", iconTip());
    click(L"Stop");
    if (iconTip() != held)
        return fail("Stop put back the plain tip", iconTip());
    click(L"Start");
    if (iconTip() != held)
        return fail("Start put back the plain tip", iconTip());
    removeIconAsTheShellDoes();
    send(g_window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    if (!within(10, [&] { return iconTip() == held; }))
        return fail("the icon made again on TaskbarCreated forgot the held lines", iconTip());
    std::puts("PASS");
    return 0;
}

} // namespace

// What the session's change is as a window message.
struct SessionMessage {
    const wchar_t *name;
    UINT message;
    WPARAM change;
};
constexpr SessionMessage SessionMessages[] = {
    {L"lock", WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK},
    {L"unlock", WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK},
    {L"disconnect", WM_WTSSESSION_CHANGE, WTS_CONSOLE_DISCONNECT},
    {L"connect", WM_WTSSESSION_CHANGE, WTS_REMOTE_CONNECT},
    {L"suspend", WM_POWERBROADCAST, PBT_APMSUSPEND},
    {L"resume", WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC},
};

int main() {
    g_window = FindWindowW(wendle::win32::MainWindow::ClassName, nullptr);
    if (!g_window)
        return std::puts("FAIL: no Wendle window"), 1;
    int count = 0;
    wchar_t **args = CommandLineToArgvW(GetCommandLineW(), &count);
    const std::wstring mode = count > 1 ? args[1] : L"";
    if (mode == L"held" && count > 2)
        return checkHeld(args[2]);
    if (mode == L"taskbar-ends") {
        // The taskbar's process ended, as Explorer crashing ends it.
        DWORD process = 0;
        GetWindowThreadProcessId(FindWindowW(L"Shell_TrayWnd", nullptr), &process);
        const HANDLE taskbar = OpenProcess(PROCESS_TERMINATE, FALSE, process);
        if (IsWindowVisible(g_window) || !taskbar || !TerminateProcess(taskbar, 1))
            return std::puts("FAIL: no hidden window, or no taskbar to end"), 1;
        CloseHandle(taskbar);
        if (!within(30, [] { return IsWindowVisible(g_window) != FALSE; }))
            return std::puts("FAIL: with the taskbar gone, the hidden window stayed hidden"), 1;
        std::puts("PASS");
        return 0;
    }
    if (mode == L"written") {
        const std::wstring again =
            wendle::win32::widen(wendle::form::TrayTip) + L": logging every 5 seconds";
        if (!within(60, [&] { return iconTip() == again; }))
            return fail("once written, the tip does not tell the interval again", iconTip());
        std::puts("PASS");
        return 0;
    }
    for (const SessionMessage &session : SessionMessages)
        if (mode == session.name) {
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutW(g_window, session.message, session.change, 0, SMTO_ABORTIFHUNG,
                                     30000, &result))
                return std::puts("FAIL: the window did not take the message"), 1;
            if (count > 2 && !within(10, [&] { return iconTip() == args[2]; }))
                return fail("the tip is not the one expected", iconTip());
            std::puts("PASS");
            return 0;
        }
    if (!mode.empty())
        return std::printf("FAIL: no such probe: %s\n", wendle::win32::narrow(mode).c_str()), 2;

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
    removeIconAsTheShellDoes();
    if (iconThere())
        return std::puts("FAIL: the icon could not be taken away"), 1;
    SendMessageTimeoutW(g_window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG,
                        5000, &result);
    if (!iconThere())
        return std::puts("FAIL: the icon did not come back on TaskbarCreated"), 1;
    std::puts("PASS");
    return 0;
}
