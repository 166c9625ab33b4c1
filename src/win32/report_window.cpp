#include "win32/report_window.h"

#include "win32/window_proc.h"

#include "form/contrast.h"
#include "logging/text_win32.h"
#include "report/report_entries.h"
#include "report/report_window_design.h"
#include "win32/accessible_text.h"
#include "win32/dpi.h"

#include <algorithm>
#include <utility>

#include <commctrl.h>
#include <windowsx.h>

namespace wendle::win32 {

namespace {

constexpr UINT_PTR FollowTimer = 1;
constexpr DWORD WindowStyle = WS_OVERLAPPEDWINDOW | WS_VSCROLL;
#ifndef WM_DPICHANGED
constexpr UINT WM_DPICHANGED = 0x02E0;
#endif

unsigned rgbOf(COLORREF colour) {
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

// The scheme's colours; the bars keep their one colour, lighter on dark.
report::TimelineColors schemeColors() {
    report::TimelineColors colors;
    colors.background = rgbOf(GetSysColor(COLOR_WINDOW));
    colors.band = rgbOf(GetSysColor(COLOR_BTNFACE));
    colors.hourLine = rgbOf(GetSysColor(COLOR_BTNSHADOW));
    colors.text = rgbOf(GetSysColor(COLOR_WINDOWTEXT));
    // The hour labels are small: greyed, but as readable as text must be.
    colors.axisText =
        form::readableGrey(rgbOf(GetSysColor(COLOR_GRAYTEXT)), colors.text, colors.background, 4.5);
    const unsigned w = colors.background;
    if (((w >> 16) & 0xFF) + ((w >> 8) & 0xFF) + (w & 0xFF) < 3 * 128)
        colors.bar = 0x5cb87f;
    return colors;
}

COLORREF color(report::TimelineItem::Role role, const report::TimelineColors &colors) {
    const unsigned rgb = report::roleColor(role, colors);
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

report::WindowFont measure(HWND window, HFONT font) {
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
    return measured;
}

} // namespace

ReportWindow::ReportWindow(HINSTANCE instance, HICON icon, const Clock &clock,
                           std::function<std::vector<std::string>()> folders)
    : m_days(clock, std::move(folders)) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcOf<ReportWindow>;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = ClassName;
    RegisterClassExW(&windowClass);

    m_window = CreateWindowExW(0, ClassName, widen(report::ReportWindowTitle).c_str(), WindowStyle,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                               nullptr, instance, this);
    // The chosen entry and the grand total, as words a screen reader reads.
    m_status = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0,
                               0, 0, 0, m_window, nullptr, instance, nullptr);
    // At the DPI of the monitor it opens on.
    m_dpi = windowDpi(m_window, systemDpi());
    useFontForDpi();
    // Its size from the font, which follows the resolution and the user's
    // choice; within the screen, and what does not fit scrolls.
    const report::WindowSize wanted =
        report::reportTimelineSize(m_measured, report::RecentDays::Count);
    RECT frame{0, 0, wanted.width, wanted.height + statusHeight()};
    frameForDpi(frame, WindowStyle, 0, m_dpi);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(m_window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT &work = monitor.rcWork;
    SetWindowPos(m_window, nullptr, 0, 0,
                 std::min<LONG>(frame.right - frame.left, (work.right - work.left) * 9 / 10),
                 std::min<LONG>(frame.bottom - frame.top, (work.bottom - work.top) * 9 / 10),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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

void ReportWindow::useFontForDpi() {
    const LOGFONTW font = messageFontForDpi(m_dpi);
    const HFONT made = CreateFontIndirectW(&font);
    SendMessageW(m_status, WM_SETFONT, reinterpret_cast<WPARAM>(made), FALSE);
    DeleteObject(m_font);
    m_font = made;
    // The timeline's rows, columns and scrolling follow the font.
    m_measured = measure(m_window, m_font);
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
        // Minimised, it is not read: it stops following today, and catches
        // up at once when it is shown again.
        if (wParam == SIZE_MINIMIZED) {
            m_minimized = true;
            KillTimer(m_window, FollowTimer);
            return 0;
        }
        if (std::exchange(m_minimized, false) && IsWindowVisible(m_window)) {
            m_days.refresh();
            SetTimer(m_window, FollowTimer, report::ReportFollowMilliseconds, nullptr);
        }
        placeStatus();
        InvalidateRect(m_window, nullptr, TRUE);
        return 0;
    case WM_DPICHANGED: {
        // Moved to a monitor of another DPI: the font, the timeline and the
        // scrolling at the new one, in the frame Windows suggests, at the
        // same place in the days.
        const int dpi = HIWORD(wParam);
        m_scroll = MulDiv(m_scroll, dpi, m_dpi);
        m_dpi = dpi;
        useFontForDpi();
        const auto *frame = reinterpret_cast<const RECT *>(lParam);
        SetWindowPos(m_window, nullptr, frame->left, frame->top, frame->right - frame->left,
                     frame->bottom - frame->top, SWP_NOZORDER | SWP_NOACTIVATE);
        placeStatus();
        InvalidateRect(m_window, nullptr, TRUE);
        return 0;
    }
    case WM_VSCROLL:
        scrollBy(wParam);
        return 0;
    case WM_MOUSEWHEEL:
        scrollTo(m_scroll -
                 GET_WHEEL_DELTA_WPARAM(wParam) * int(m_measured.lineHeight) * 3 / WHEEL_DELTA);
        return 0;
    case WM_CTLCOLORSTATIC:
        SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    case WM_MOUSEMOVE:
        pointAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) + m_scroll);
        return 0;
    case WM_SHOWWINDOW:
        if (wParam)
            SetTimer(m_window, FollowTimer, report::ReportFollowMilliseconds, nullptr);
        else
            KillTimer(m_window, FollowTimer);
        return 0;
    case WM_TIMER:
        if (m_days.poll())
            showDays();
        return 0;
    case WM_KEYDOWN:
        // Escape closes it, as it closes a dialog: no mouse needed.
        if (wParam == VK_ESCAPE)
            ShowWindow(m_window, SW_HIDE);
        // The arrow keys go through the days and their stretches.
        else if (wParam == VK_DOWN || wParam == VK_UP || wParam == VK_HOME || wParam == VK_END)
            choose(wParam == VK_DOWN   ? m_chosen + 1
                   : wParam == VK_UP   ? m_chosen - 1
                   : wParam == VK_HOME ? 0
                                       : 1 << 30);
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

int ReportWindow::statusHeight() const {
    // The chosen entry, then the summary's lines.
    const std::string summary = report::reportSummary(m_days.days());
    const std::size_t lines = 2 + std::size_t(std::count(summary.begin(), summary.end(), '\n'));
    return int(m_measured.lineHeight * double(lines) + m_measured.lineHeight / 2);
}

int ReportWindow::timelineHeight() const {
    RECT client;
    GetClientRect(m_window, &client);
    return std::max(
        int(client.bottom) - statusHeight(),
        int(report::reportTimelineMinimumHeight(m_measured, report::RecentDays::Count)));
}

report::Timeline ReportWindow::layOut() const {
    RECT client;
    GetClientRect(m_window, &client);
    return report::layOutReportWindow(m_days.days(), m_measured, client.right, timelineHeight());
}

void ReportWindow::placeStatus() {
    RECT client;
    GetClientRect(m_window, &client);
    const int status = statusHeight();
    const int left = int(m_measured.lineHeight / 2);
    MoveWindow(m_status, left, client.bottom - status, client.right - 2 * left, status, TRUE);
    // The timeline scrolls in what the status line leaves.
    const int visible = std::max(0, int(client.bottom) - status);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMax = timelineHeight() - 1;
    info.nPage = UINT(visible);
    SetScrollInfo(m_window, SB_VERT, &info, TRUE);
    scrollTo(m_scroll);
}

void ReportWindow::scrollTo(int offset) {
    RECT client;
    GetClientRect(m_window, &client);
    const int visible = std::max(0, int(client.bottom) - statusHeight());
    offset = std::max(0, std::min(offset, timelineHeight() - visible));
    if (offset != m_scroll) {
        m_scroll = offset;
        InvalidateRect(m_window, nullptr, TRUE);
    }
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    info.nPos = m_scroll;
    SetScrollInfo(m_window, SB_VERT, &info, TRUE);
}

void ReportWindow::scrollBy(WPARAM request) {
    const int line = int(m_measured.lineHeight);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(m_window, SB_VERT, &info);
    switch (LOWORD(request)) {
    case SB_LINEUP:
        scrollTo(m_scroll - line);
        break;
    case SB_LINEDOWN:
        scrollTo(m_scroll + line);
        break;
    case SB_PAGEUP:
        scrollTo(m_scroll - int(info.nPage));
        break;
    case SB_PAGEDOWN:
        scrollTo(m_scroll + int(info.nPage));
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        scrollTo(info.nTrackPos);
        break;
    default:
        break;
    }
}

void ReportWindow::showDays() {
    choose(m_chosen);
    placeStatus();
    InvalidateRect(m_window, nullptr, TRUE);
}

void ReportWindow::choose(int entry) {
    const std::vector<report::ReportEntry> entries = report::reportEntries(m_days.days());
    m_chosen = entries.empty() ? 0 : std::max(0, std::min(entry, int(entries.size()) - 1));
    std::string status = entries.empty() ? std::string() : entries[m_chosen].name;
    status += "\n" + report::reportSummary(m_days.days());
    const std::wstring text = widen(status);
    wchar_t shown[512] = {};
    GetWindowTextW(m_status, shown, 512);
    if (text != shown) {
        SetWindowTextW(m_status, text.c_str());
        // Told to a screen reader as it changes.
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, m_status, OBJID_WINDOW, CHILDID_SELF);
        // The window itself has the focus, and a screen reader reads what
        // has the focus: the chosen entry as its name, the grand total and
        // any unreadable lines as its description.
        setAccessibleText(m_window, AccessibleText::Name,
                          widen(entries.empty() ? std::string() : entries[m_chosen].name));
        setAccessibleText(m_window, AccessibleText::Description,
                          widen(report::reportSummary(m_days.days())));
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, m_window, OBJID_CLIENT, CHILDID_SELF);
    }
    // The chosen one in sight.
    if (!entries.empty()) {
        const report::Timeline timeline = layOut();
        if (const report::TimelineItem *item = report::timelineItemOf(
                timeline, int(entries[m_chosen].day), entries[m_chosen].stretch)) {
            RECT client;
            GetClientRect(m_window, &client);
            const int visible = std::max(0, int(client.bottom) - statusHeight());
            if (item->y < m_scroll)
                scrollTo(int(item->y) - 4);
            else if (item->y + item->height > m_scroll + visible)
                scrollTo(int(item->y + item->height) - visible + 4);
        }
    }
    InvalidateRect(m_window, nullptr, TRUE);
}

void ReportWindow::paint(HDC dc) {
    using Item = report::TimelineItem;
    const report::TimelineColors colors = schemeColors();
    const HGDIOBJ previousFont = SelectObject(dc, m_font);
    SetBkMode(dc, TRANSPARENT);
    RECT client;
    GetClientRect(m_window, &client);
    // Only the timeline's part of the window, moved by the scrolling.
    IntersectClipRect(dc, 0, 0, client.right, client.bottom - statusHeight());
    SetViewportOrgEx(dc, 0, -m_scroll, nullptr);
    const report::Timeline timeline = layOut();
    for (const Item &item : timeline.items) {
        switch (item.kind) {
        case Item::Kind::Box: {
            const RECT box{LONG(item.x), LONG(item.y), LONG(item.x + std::max(1.0, item.width)),
                           LONG(item.y + item.height)};
            const HBRUSH brush = CreateSolidBrush(color(item.role, colors));
            FillRect(dc, &box, brush);
            DeleteObject(brush);
            break;
        }
        case Item::Kind::Line: {
            const HPEN pen = CreatePen(PS_SOLID, 1, color(item.role, colors));
            const HGDIOBJ previous = SelectObject(dc, pen);
            MoveToEx(dc, int(item.x), int(item.y), nullptr);
            LineTo(dc, int(item.x + item.width), int(item.y + item.height));
            SelectObject(dc, previous);
            DeleteObject(pen);
            break;
        }
        case Item::Kind::Text: {
            const std::wstring text = widen(item.text);
            SetTextColor(dc, color(item.role, colors));
            SetTextAlign(dc, TA_BASELINE | (item.anchor == Item::Anchor::Start    ? TA_LEFT
                                            : item.anchor == Item::Anchor::Middle ? TA_CENTER
                                                                                  : TA_RIGHT));
            TextOutW(dc, int(item.x), int(item.y), text.c_str(), int(text.size()));
            break;
        }
        }
    }
    // The chosen day or stretch, outlined in the highlight colour.
    const std::vector<report::ReportEntry> entries = report::reportEntries(m_days.days());
    if (m_chosen < int(entries.size()))
        if (const Item *item = report::timelineItemOf(timeline, int(entries[m_chosen].day),
                                                      entries[m_chosen].stretch)) {
            const RECT box{LONG(item->x) - 3, LONG(item->y) - 2,
                           LONG(item->x + std::max(1.0, item->width)) + 3,
                           LONG(item->y + item->height) + 2};
            FrameRect(dc, &box, GetSysColorBrush(COLOR_HIGHLIGHT));
            const RECT inner{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
            FrameRect(dc, &inner, GetSysColorBrush(COLOR_HIGHLIGHT));
        }
    SetViewportOrgEx(dc, 0, 0, nullptr);
    SelectObject(dc, previousFont);
}

void ReportWindow::pointAt(int x, int y) {
    const std::wstring text = widen(report::timelineTextAt(layOut(), x, y));
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
