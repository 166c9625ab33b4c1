#pragma once

#include "report/recent_days.h"

#include <windows.h>

#include <string>

namespace wendle::win32 {

// "Wendle Report": the last 7 days as a timeline, today at the top, with
// each day's total. Pointing at a stretch tells its start, end and length;
// today's row follows the log while the window is open. Closing hides it.
class ReportWindow {
public:
    static constexpr const wchar_t *ClassName = L"QuorvelWendleReport";

    ReportWindow(HINSTANCE instance, HICON icon, const Clock &clock,
                 std::function<std::string()> folder);
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

    report::RecentDays m_days;
    HWND m_window = nullptr;
    HWND m_tip = nullptr;
    HFONT m_font = nullptr;
    std::wstring m_tipText;
};

} // namespace wendle::win32
