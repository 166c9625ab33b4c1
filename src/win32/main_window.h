#pragma once

#include "form/texts.h"
#include "form/time_check_form.h"
#include "win32/report_window.h"
#include "win32/timer.h"

#include <atomic>
#include <memory>

#include <windows.h>

#include <shellapi.h>

#include <optional>
#include <string>

namespace wendle::win32 {

namespace detail {
// Built before the handlers, which drive it.
struct TimerHolder {
    WindowTimer m_timer;
    // Where the log writer's news are posted: the window, once it is made.
    std::atomic<HWND> m_postTarget{nullptr};
};
} // namespace detail

// The program's one window, "frmTimeCheck", as a native window with the
// common controls: the shared handlers, drawn and wired by Win32.
class MainWindow final : private detail::TimerHolder, public form::TimeCheckForm {
public:
    static constexpr const wchar_t *ClassName = L"QuorvelWendleTimeCheck";
    // Posted by a second start of the program: come forward.
    static constexpr UINT ComeForwardMessage = WM_APP + 1;
    // The notification icon's own callback: lParam holds the mouse message.
    static constexpr UINT TrayCallbackMessage = WM_APP + 2;
    // The log writer's news: lParam holds a std::function<void()> to run
    // and delete.
    static constexpr UINT WriterMessage = WM_APP + 3;
    // The menus' "Report…": a WM_COMMAND with this number opens the report.
    static constexpr int ReportCommand = 198;
    // Explorer, whose taskbar shows the icon, has ended.
    static constexpr UINT TrayGoneMessage = WM_APP + 4;

    MainWindow(HINSTANCE instance, const Clock &clock, Registry &registry = systemRegistry());
    ~MainWindow() override;
    MainWindow(const MainWindow &) = delete;
    MainWindow &operator=(const MainWindow &) = delete;

    HWND handle() const { return m_window; }
    // Why the window could not be made; empty when it was.
    const std::string &failure() const { return m_failure; }
    // Shown in its normal state, the focus in the folder box.
    void show();
    // Left hidden when the icon is in the notification area, else minimised.
    void showMinimized();
    // The program's message loop; returns the exit status.
    int run();

    bool isUnloaded() const override { return m_unloaded; }

private:
    template <typename Owner> friend LRESULT CALLBACK windowProcOf(HWND, UINT, WPARAM, LPARAM);
    void windowReady(HWND window) { m_window = window; }
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    // The window's frame for the layout at a DPI, the frame itself drawn at
    // frameDpi: at the fixed place, or with its corner where corner's is;
    // kept on screen.
    RECT frameAt(int dpi, const RECT *corner, int frameDpi) const;
    // The controls, their font and picture at the window's DPI.
    void placeControls();
    // The whole layout at a new DPI, in the frame given or one of its own.
    void layOut(int dpi, const RECT *suggested);
    void command(int id, int code);
    HWND control(std::string_view name) const;
    void close();
    // The notification icon's record with these fields to set; the picture
    // and the tip are the icon's state now.
    NOTIFYICONDATAW trayIconData(UINT flags) const;
    void raiseOpenDialog();
    HICON trayPicture(form::TrayPicture picture) const;
    void addIconToShell();
    // Told by Windows when the process of the taskbar that shows the icon
    // ends; Windows says nothing else until a new taskbar is made.
    void watchTray();
    void stopWatchingTray();
    // The icon has gone, or the taskbar that showed it: a window hidden in
    // it comes back to the desktop unless the icon can be made again.
    void trayGone();
    void showWindowMenu(HWND from, LPARAM at);

    std::optional<bool> askAutostart() override;
    void setAutostartChecked(bool checked) override;
    void addTrayIcon() override;
    void removeTrayIcon() override;
    void showFolderText(const std::string &folder) override;
    std::string browseForFolder(const std::string &title) override;
    void restoreWindow() override;
    void showPopupMenu() override;
    void setLook(const form::Look &look) override;
    void showRecentLogText(const std::string &text) override;
    void report(const std::string &message) override;
    void showNotice(const LoggingNotice &notice) override;
    void showInterval(int seconds) override;
    void showTrayState(form::TrayPicture picture, const std::string &tip) override;
    void appendLogNote(const std::string &text) override;
    void watchSession() override;
    // The session locked, disconnected, suspending, or back.
    void sessionChanged(WPARAM change);
    void powerChanged(WPARAM change);
    void presentReport() override;

    HINSTANCE m_instance;
    HWND m_window = nullptr;
    HICON m_icon = nullptr;
    HICON m_smallIcon = nullptr;
    HICON m_loggingIcon = nullptr; // the small icon with the mark of logging on
    HICON m_pausedIcon = nullptr;  // and with the mark of logging paused
    HICON m_folderIcon = nullptr;
    HMENU m_popup = nullptr;
    HFONT m_font = nullptr;
    std::unique_ptr<ReportWindow> m_report;
    int m_dpi = 96;
    int m_systemDpi = 96; // what the caption font was made for
    std::string m_failure;
    // The twips are laid out at the DPI times this: 1, larger for a font
    // larger than the default.
    double m_fontScale = 1;
    LOGFONTW m_captionFont{};
    POINT m_fixedSize{0, 0}; // the window's size with its frame
    std::uint32_t m_folderColor;
    HWND m_focus = nullptr;    // the control to have the focus when the window is active
    HWND m_menuEdit = nullptr; // the edit box whose context menu is open
    // Wanted: between addTrayIcon and removeTrayIcon. Added: the shell took
    // it; a shell that starts (or starts again) later is asked again.
    bool m_trayWanted = false;
    bool m_trayAdded = false;
    HANDLE m_trayProcess = nullptr;
    HANDLE m_trayWait = nullptr;
    UINT m_taskbarCreated = 0;
    bool m_unloaded = false;
    bool m_sessionWatched = false;
};

} // namespace wendle::win32
