// dpi_probe FROM TO: tells the running wendle.exe's windows, as Windows does
// when they move from a monitor of FROM dpi to one of TO dpi, first
// WM_GETDPISCALEDSIZE, then WM_DPICHANGED with the frame it suggests: the
// main window in the size it answered, the report window (opened for the
// purpose) in proportion. Status 0 when the main window's client area is the
// table's for TO, Start is its twips at TO, and the text of both windows
// grew or shrank with the DPI.
#include "form/layout.h"
#include "remote_memory.h"
#include "win32/main_window.h"
#include "win32/report_window.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

namespace {

// The main window's client area for its twips at each DPI.
struct Expected {
    int dpi;
    SIZE client;
};
constexpr Expected Table[] = {
    {96, {267, 339}},
    {144, {401, 509}},
    {192, {534, 678}},
};

SIZE sizeOf(HWND window) {
    RECT box{};
    GetWindowRect(window, &box);
    return {box.right - box.left, box.bottom - box.top};
}

SIZE clientOf(HWND window) {
    RECT box{};
    GetClientRect(window, &box);
    return {box.right, box.bottom};
}

bool sendTo(HWND window, UINT message, WPARAM wParam, const void *data, std::size_t size,
            LRESULT &answer, void *back = nullptr) {
    RemoteMemory remote(window, size);
    DWORD_PTR result = 0;
    if (!remote.ok() || !remote.write(0, data, size) ||
        !SendMessageTimeoutW(window, message, wParam, reinterpret_cast<LPARAM>(remote.at()),
                             SMTO_ABORTIFHUNG, 30000, &result))
        return false;
    answer = static_cast<LRESULT>(result);
    return !back || remote.read(0, back, size);
}

// The height of a line of the recent-log box's text: its font's.
int lineHeight(HWND window) {
    const HWND log = FindWindowExW(window, nullptr, L"Edit", nullptr);
    const HWND box = FindWindowExW(window, log, L"Edit", nullptr);
    DWORD_PTR first = 0, second = 0;
    SendMessageTimeoutW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"1\r\n2"), SMTO_ABORTIFHUNG,
                        5000, &first);
    SendMessageTimeoutW(box, EM_POSFROMCHAR, 0, 0, SMTO_ABORTIFHUNG, 5000, &first);
    SendMessageTimeoutW(box, EM_POSFROMCHAR, 3, 0, SMTO_ABORTIFHUNG, 5000, &second);
    return HIWORD(second) - HIWORD(first);
}

// The report's status line holds a few lines of text and half a line.
int statusHeight(HWND report) {
    return clientOf(FindWindowExW(report, nullptr, L"Static", nullptr)).cy;
}

bool failed(const char *why) {
    std::printf("FAIL: %s\n", why);
    return false;
}

bool scaled(int before, int after, int from, int to) {
    const int wanted = MulDiv(before, to, from);
    std::printf("  %d -> %d (in proportion %d)\n", before, after, wanted);
    return std::abs(after - wanted) <= 3 + wanted / 20;
}

} // namespace

int main(int argc, char **argv) {
    const int from = argc > 2 ? std::atoi(argv[1]) : 96;
    const int to = argc > 2 ? std::atoi(argv[2]) : 192;
    const Expected *row = nullptr;
    for (const Expected &expected : Table)
        if (expected.dpi == to)
            row = &expected;
    const HWND window = FindWindowW(wendle::win32::MainWindow::ClassName, nullptr);
    const HWND start = FindWindowExW(window, nullptr, L"Button", L"Start");
    if (!start || !row)
        return std::puts("FAIL: no Wendle window with a Start button, or no such DPI"), 1;
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_COMMAND, wendle::win32::MainWindow::ReportCommand, 0,
                        SMTO_ABORTIFHUNG, 30000, &result);
    const HWND report = FindWindowW(wendle::win32::ReportWindow::ClassName, nullptr);
    if (!report)
        return std::puts("FAIL: the report window did not open"), 1;
    // Small enough to stay within the screen at every DPI.
    SetWindowPos(report, nullptr, 0, 0, MulDiv(360, from, 96), MulDiv(300, from, 96),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int lineBefore = lineHeight(window), statusBefore = statusHeight(report);

    // Windows asks for the size at the new DPI, then suggests a frame of it.
    SIZE asked{};
    LRESULT answered = 0;
    if (!sendTo(window, WM_GETDPISCALEDSIZE, to, &asked, sizeof asked, answered, &asked))
        return std::puts("FAIL: WM_GETDPISCALEDSIZE could not be sent"), 1;
    RECT frame{};
    GetWindowRect(window, &frame);
    frame.right = frame.left + asked.cx;
    frame.bottom = frame.top + asked.cy;
    LRESULT ignored = 0;
    if (!answered ||
        !sendTo(window, WM_DPICHANGED, MAKEWPARAM(to, to), &frame, sizeof frame, ignored))
        return std::puts("FAIL: WM_GETDPISCALEDSIZE unanswered, or WM_DPICHANGED not sent"), 1;
    RECT reportFrame{};
    GetWindowRect(report, &reportFrame);
    reportFrame.right = reportFrame.left + MulDiv(reportFrame.right - reportFrame.left, to, from);
    reportFrame.bottom = reportFrame.top + MulDiv(reportFrame.bottom - reportFrame.top, to, from);
    if (!sendTo(report, WM_DPICHANGED, MAKEWPARAM(to, to), &reportFrame, sizeof reportFrame,
                ignored))
        return std::puts("FAIL: WM_DPICHANGED could not be sent to the report window"), 1;

    const wendle::form::ControlPlace &place = wendle::form::controlPlace("cmdStart");
    const SIZE button = sizeOf(start), client = clientOf(window), whole = sizeOf(window);
    std::printf("at %d dpi: asked %ldx%ld, window %ldx%ld, client %ldx%ld, Start %ldx%ld\n", to,
                asked.cx, asked.cy, whole.cx, whole.cy, client.cx, client.cy, button.cx, button.cy);
    bool ok = true;
    if (client.cx != row->client.cx || client.cy != row->client.cy)
        ok = failed("the client area is not the table's");
    if (button.cx != wendle::form::twipsToPixels(place.width, to) ||
        button.cy != wendle::form::twipsToPixels(place.height, to))
        ok = failed("Start is not its twips at the new DPI");
    std::puts("the recent log's line height:");
    if (!scaled(lineBefore, lineHeight(window), from, to))
        ok = failed("the main window's font did not follow the DPI");
    std::puts("the report's status line:");
    if (!scaled(statusBefore, statusHeight(report), from, to))
        ok = failed("the report window's font did not follow the DPI");
    const SIZE reportSize = sizeOf(report);
    std::printf("report window %ldx%ld\n", reportSize.cx, reportSize.cy);
    if (reportSize.cx != reportFrame.right - reportFrame.left ||
        reportSize.cy != reportFrame.bottom - reportFrame.top)
        ok = failed("the report window did not take the suggested frame");
    if (ok)
        std::puts("PASS");
    return ok ? 0 : 1;
}
