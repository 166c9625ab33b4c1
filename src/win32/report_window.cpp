#include "win32/report_window.h"

#include "win32/window_proc.h"

#include "logging/text_win32.h"
#include "report/report_window_design.h"

#include <commctrl.h>
#include <windowsx.h>

namespace wendle::win32 {

namespace {

constexpr UINT_PTR FollowTimer = 1;

COLORREF color(report::TimelineItem::Role role) {
    const unsigned rgb = report::roleColor(role);
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

report::Timeline layOut(const std::vector<report::DayRecord> &days, HWND window, HFONT font) {
    RECT client;
    GetClientRect(window, &client);
    const HDC dc = GetDC(window);
    const HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICW text{};
    GetTextMetricsW(dc, &text);
    const auto widthOf = [dc](const char *sample) {
        const std::wstring wide = widen(sample);
        SIZE size{};
        GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
        return double(size.cx);
    };
    const report::WindowFont measured{double(text.tmHeight), widthOf(report::DayColumnSample),
                                      widthOf(report::TotalColumnSample)};
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return report::layOutReportWindow(days, measured, client.right, client.bottom);
}

} // namespace

ReportWindow::ReportWindow(HINSTANCE instance, HICON icon, const Clock &clock,
                           std::function<std::string()> folder)
    : m_days(clock, std::move(folder)) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcOf<ReportWindow>;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = ClassName;
    RegisterClassExW(&windowClass);

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    m_font = CreateFontIndirectW(&metrics.lfMessageFont);

    RECT frame{0, 0, report::ReportWindowWidth, report::ReportWindowHeight};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    m_window =
        CreateWindowExW(0, ClassName, widen(report::ReportWindowTitle).c_str(), WS_OVERLAPPEDWINDOW,
                        CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                        frame.bottom - frame.top, nullptr, nullptr, instance, this);
    m_tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_window,
                            nullptr, instance, nullptr);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = m_window;
    tool.uId = reinterpret_cast<UINT_PTR>(m_window);
    tool.lpszText = const_cast<wchar_t *>(L"");
    SendMessageW(m_tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

ReportWindow::~ReportWindow() {
    if (m_window)
        DestroyWindow(m_window);
    DeleteObject(m_font);
}

void ReportWindow::present() {
    m_days.refresh();
    ShowWindow(m_window, SW_SHOWNORMAL);
    SetForegroundWindow(m_window);
}

LRESULT ReportWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(m_window, &ps);
        paint(dc);
        EndPaint(m_window, &ps);
        return 0;
    }
    case WM_SIZE:
        InvalidateRect(m_window, nullptr, TRUE);
        return 0;
    case WM_MOUSEMOVE:
        pointAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_SHOWWINDOW:
        if (wParam)
            SetTimer(m_window, FollowTimer, report::ReportFollowMilliseconds, nullptr);
        else
            KillTimer(m_window, FollowTimer);
        return 0;
    case WM_TIMER:
        if (m_days.poll())
            InvalidateRect(m_window, nullptr, TRUE);
        return 0;
    case WM_KEYDOWN:
        // Escape closes it, as it closes a dialog: no mouse needed.
        if (wParam == VK_ESCAPE)
            ShowWindow(m_window, SW_HIDE);
        return 0;
    case WM_CLOSE:
        ShowWindow(m_window, SW_HIDE);
        return 0;
    case WM_DESTROY:
        m_window = nullptr;
        return 0;
    default:
        return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

void ReportWindow::paint(HDC dc) {
    using Item = report::TimelineItem;
    const HGDIOBJ previousFont = SelectObject(dc, m_font);
    SetBkMode(dc, TRANSPARENT);
    for (const Item &item : layOut(m_days.days(), m_window, m_font).items) {
        switch (item.kind) {
        case Item::Kind::Box: {
            const RECT box{LONG(item.x), LONG(item.y), LONG(item.x + std::max(1.0, item.width)),
                           LONG(item.y + item.height)};
            const HBRUSH brush = CreateSolidBrush(color(item.role));
            FillRect(dc, &box, brush);
            DeleteObject(brush);
            break;
        }
        case Item::Kind::Line: {
            const HPEN pen = CreatePen(PS_SOLID, 1, color(item.role));
            const HGDIOBJ previous = SelectObject(dc, pen);
            MoveToEx(dc, int(item.x), int(item.y), nullptr);
            LineTo(dc, int(item.x + item.width), int(item.y + item.height));
            SelectObject(dc, previous);
            DeleteObject(pen);
            break;
        }
        case Item::Kind::Text: {
            const std::wstring text = widen(item.text);
            SetTextColor(dc, color(item.role));
            SetTextAlign(dc, TA_BASELINE | (item.anchor == Item::Anchor::Start    ? TA_LEFT
                                            : item.anchor == Item::Anchor::Middle ? TA_CENTER
                                                                                  : TA_RIGHT));
            TextOutW(dc, int(item.x), int(item.y), text.c_str(), int(text.size()));
            break;
        }
        }
    }
    SelectObject(dc, previousFont);
}

void ReportWindow::pointAt(int x, int y) {
    const std::wstring text =
        widen(report::timelineTextAt(layOut(m_days.days(), m_window, m_font), x, y));
    if (text == m_tipText)
        return;
    m_tipText = text;
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = m_window;
    tool.uId = reinterpret_cast<UINT_PTR>(m_window);
    tool.lpszText = m_tipText.data();
    SendMessageW(m_tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    if (m_tipText.empty())
        SendMessageW(m_tip, TTM_POP, 0, 0);
}

} // namespace wendle::win32
