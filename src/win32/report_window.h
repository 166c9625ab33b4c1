#pragma once

#include "report/recent_days.h"
#include "report/report_window_design.h"

#include <windows.h>

#include <string>

namespace wendle::win32 {

// "Wendle Report": the last 7 days as a timeline, today at the top, with
// each day's total. The arrow keys go through the days and their stretches,
// the chosen one outlined and told in words below with the grand total and
// any unreadable lines; pointing at a stretch tells its start, end and
// length; today's row follows the log while the window is open; it scrolls
// when the days do not fit. Closing hides it.
class ReportWindow {
public:
    static constexpr const wchar_t *ClassName = L"QuorvelWendleReport";

    ReportWindow(HINSTANCE instance, HICON icon, const Clock &clock,
                 std::function<std::vector<std::string>()> folders);
    ~ReportWindow();
    ReportWindow(const ReportWindow &) = delete;
    ReportWindow &operator=(const ReportWindow &) = delete;

    // Reads the days again and shows the window in front.
    void present();
    HWND handle() const { return m_window; }

private:
    template <typename Owner> friend LRESULT CALLBACK windowProcOf(HWND, UINT, WPARAM, LPARAM);
    void windowReady(HWND window) { m_window = window; }
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void paint(HDC dc);
    void pointAt(int x, int y);
    void showDays();
    void choose(int entry);
    report::Timeline layOut() const;
    int statusHeight() const;
    int timelineHeight() const;
    void placeStatus();
    void scrollTo(int offset);
    void scrollBy(WPARAM request);
    // The font at the window's DPI, and what is measured by it.
    void useFontForDpi();

    report::RecentDays m_days;
    bool m_minimized = false;
    HWND m_window = nullptr;
    HWND m_tip = nullptr;
    HWND m_status = nullptr;
    report::WindowFont m_measured;
    int m_chosen = 0;
    int m_scroll = 0;
    int m_dpi = 96;
    HFONT m_font = nullptr;
    std::wstring m_tipText;
};

} // namespace wendle::win32
