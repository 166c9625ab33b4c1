#include "form/command_line.h"
#include "logging/clock.h"
#include "logging/system_error.h"
#include "logging/text_win32.h"
#include "win32/main_window.h"

#include <windows.h>

#include <objbase.h>
#include <sddl.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace {

// One name for all the sessions of one user (the user's SID in the global
// namespace): a second session's copy would otherwise log beside the first.
std::wstring runningMutexName() {
    std::wstring name = L"Global\\QuorvelWendle.Running";
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return name;
    alignas(TOKEN_USER) unsigned char user[256];
    DWORD size = 0;
    wchar_t *sid = nullptr;
    if (GetTokenInformation(token, TokenUser, user, sizeof user, &size) &&
        ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER *>(user)->User.Sid, &sid)) {
        name += L'.';
        name += sid;
        LocalFree(sid);
    }
    CloseHandle(token);
    return name;
}

// A second start finds the running copy's window and asks it forward; the
// copy may still be starting, so it looks for a few seconds. False when it
// is not in this session.
bool callRunningCopy() {
    for (int tries = 0; tries < 50; ++tries) {
        if (const HWND running = FindWindowW(wendle::win32::MainWindow::ClassName, nullptr)) {
            DWORD process = 0;
            GetWindowThreadProcessId(running, &process);
            AllowSetForegroundWindow(process);
            PostMessageW(running, wendle::win32::MainWindow::ComeForwardMessage, 0, 0);
            return true;
        }
        Sleep(100);
    }
    return false;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const auto answer = [](const std::string &text, UINT icon) {
        MessageBoxW(nullptr, wendle::win32::widen(text).c_str(), L"Wendle", MB_OK | icon);
    };
    int count = 0;
    wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) {
        answer("Wendle cannot start: its command line could not be read (" +
                   wendle::systemErrorText(GetLastError()) + ").",
               MB_ICONERROR);
        return 1;
    }
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(wendle::win32::narrow(wide[i]));
    LocalFree(wide);
    const wendle::form::CommandLine commandLine = wendle::form::readCommandLine(arguments);
    switch (commandLine.action) {
    case wendle::form::CommandLine::Action::Help:
        answer(wendle::form::helpText(), MB_ICONINFORMATION);
        return 0;
    case wendle::form::CommandLine::Action::Version:
        answer(wendle::form::versionText(WENDLE_VERSION), MB_ICONINFORMATION);
        return 0;
    case wendle::form::CommandLine::Action::Mistake:
        answer(wendle::form::mistakeText(commandLine), MB_ICONWARNING);
        return 2;
    case wendle::form::CommandLine::Action::Run:
        break;
    }

    // One Wendle per user: the mutex goes with the process, however it ends.
    const HANDLE only = CreateMutexW(nullptr, FALSE, runningMutexName().c_str());
    if (only && GetLastError() == ERROR_ALREADY_EXISTS) {
        if (!callRunningCopy())
            answer("Wendle is already running for you in another Windows session, and logs "
                   "there.",
                   MB_ICONINFORMATION);
        CloseHandle(only);
        return 0;
    }

    // The shell's folder browser in its new style wants a single-threaded
    // apartment on the thread that shows it: this one, for the program's life.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    struct ComEnd {
        bool started;
        ~ComEnd() {
            if (started)
                CoUninitialize();
        }
    } comEnd{SUCCEEDED(com)};

    wendle::SystemClock clock;
    wendle::win32::MainWindow window(instance, clock);
    if (!window.failure().empty()) {
        answer(window.failure(), MB_ICONERROR);
        return 1;
    }
    window.load();
    if (window.isUnloaded())
        return 0;
    if (commandLine.minimized)
        window.showMinimized();
    else
        window.show();
    return window.run();
}
