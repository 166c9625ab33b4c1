// dpi_probe DPI: tells the running wendle.exe's window, as Windows does when
// it moves to a monitor of another DPI, that its DPI is now DPI, with the
// window's frame grown in proportion as the suggested one; status 0 when the
// window took that frame and Start is again its twips at the new DPI.
#include "form/layout.h"
#include "win32/main_window.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

SIZE sizeOf(HWND window) {
    RECT box{};
    GetWindowRect(window, &box);
    return {box.right - box.left, box.bottom - box.top};
}

} // namespace

int main(int argc, char **argv) {
    const int dpi = argc > 1 ? std::atoi(argv[1]) : 192;
    const HWND window = FindWindowW(wendle::win32::MainWindow::ClassName, nullptr);
    const HWND start = FindWindowExW(window, nullptr, L"Button", L"Start");
    if (!start)
        return std::puts("FAIL: no Wendle window with a Start button"), 1;
    const HDC screen = GetDC(nullptr);
    const int systemDpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    RECT frame{};
    GetWindowRect(window, &frame);
    frame.right = frame.left + MulDiv(frame.right - frame.left, dpi, systemDpi);
    frame.bottom = frame.top + MulDiv(frame.bottom - frame.top, dpi, systemDpi);

    // The window reads the frame in its own process.
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    const HANDLE target = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, process);
    void *remote = VirtualAllocEx(target, nullptr, sizeof frame, MEM_COMMIT, PAGE_READWRITE);
    DWORD_PTR result = 0;
    if (!remote || !WriteProcessMemory(target, remote, &frame, sizeof frame, nullptr) ||
        !SendMessageTimeoutW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                             reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 30000, &result))
        return std::puts("FAIL: WM_DPICHANGED could not be sent"), 1;

    const wendle::form::ControlPlace &place = wendle::form::controlPlace("cmdStart");
    const SIZE button = sizeOf(start), whole = sizeOf(window);
    std::printf("Start %ldx%ld at %d dpi, window %ldx%ld\n", button.cx, button.cy, dpi, whole.cx,
                whole.cy);
    const bool laidOut = button.cx == wendle::form::twipsToPixels(place.width, dpi) &&
                         button.cy == wendle::form::twipsToPixels(place.height, dpi);
    const bool framed =
        whole.cx == frame.right - frame.left && whole.cy == frame.bottom - frame.top;
    std::puts(laidOut && framed ? "PASS" : "FAIL: not laid out again in the suggested frame");
    return laidOut && framed ? 0 : 1;
}
