// dpi_probe DPI: tells the running wendle.exe's window, as Windows does when
// it moves to a monitor of another DPI, that its DPI is now DPI, with the
// frame Windows would suggest; then checks that the controls were laid out
// from their twips again at that DPI. Status 0 when they were.
#include "form/layout.h"
#include "win32/main_window.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

HWND startButton;

BOOL CALLBACK findStart(HWND child, LPARAM) {
    wchar_t text[32] = {}, kind[32] = {};
    GetWindowTextW(child, text, 32);
    GetClassNameW(child, kind, 32);
    if (std::wstring(text) == L"Start" && lstrcmpiW(kind, L"Button") == 0) {
        startButton = child;
        return FALSE;
    }
    return TRUE;
}

SIZE sizeOf(HWND window) {
    RECT box{};
    GetWindowRect(window, &box);
    return {box.right - box.left, box.bottom - box.top};
}

} // namespace

int main(int argc, char **argv) {
    const int dpi = argc > 1 ? std::atoi(argv[1]) : 0;
    const HWND window = FindWindowW(wendle::win32::MainWindow::ClassName, nullptr);
    if (dpi <= 0 || !window) {
        std::puts(window ? "usage: dpi_probe DPI" : "FAIL: no Wendle window");
        return 2;
    }
    EnumChildWindows(window, findStart, 0);
    if (!startButton) {
        std::puts("FAIL: no Start button");
        return 1;
    }
    const SIZE before = sizeOf(startButton);

    // The suggested frame: the window's own, grown by the ratio of the DPIs.
    const HDC screen = GetDC(nullptr);
    const int systemDpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    RECT frame{};
    GetWindowRect(window, &frame);
    frame.right = frame.left + MulDiv(frame.right - frame.left, dpi, systemDpi);
    frame.bottom = frame.top + MulDiv(frame.bottom - frame.top, dpi, systemDpi);

    // The frame is read in the window's own process.
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    const HANDLE target = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, process);
    void *remote = target ? VirtualAllocEx(target, nullptr, sizeof frame, MEM_COMMIT | MEM_RESERVE,
                                           PAGE_READWRITE)
                          : nullptr;
    if (!remote || !WriteProcessMemory(target, remote, &frame, sizeof frame, nullptr)) {
        std::puts("FAIL: cannot hand the frame to the window's process");
        return 1;
    }
    DWORD_PTR result = 0;
    const bool answered =
        SendMessageTimeoutW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                            reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 30000, &result);
    VirtualFreeEx(target, remote, 0, MEM_RELEASE);
    CloseHandle(target);
    if (!answered) {
        std::puts("FAIL: the window did not answer WM_DPICHANGED");
        return 1;
    }

    const wendle::form::ControlPlace &place = wendle::form::controlPlace("cmdStart");
    const SIZE want{wendle::form::twipsToPixels(place.width, dpi),
                    wendle::form::twipsToPixels(place.height, dpi)};
    const SIZE after = sizeOf(startButton);
    const SIZE whole = sizeOf(window);
    std::printf("Start: %ldx%ld, then %ldx%ld at %d dpi (wanted %ldx%ld); window %ldx%ld\n",
                before.cx, before.cy, after.cx, after.cy, dpi, want.cx, want.cy, whole.cx,
                whole.cy);
    const bool framed = whole.cx == frame.right - frame.left &&
                        whole.cy == frame.bottom - frame.top;
    if (after.cx != want.cx || after.cy != want.cy || !framed) {
        std::puts(framed ? "FAIL: the controls were not laid out again"
                         : "FAIL: the window did not take the suggested frame");
        return 1;
    }
    std::puts("PASS");
    return 0;
}
