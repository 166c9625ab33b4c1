#include "win32/main_window.h"

#include "win32/window_proc.h"

#include "form/caption_fit.h"
#include "form/contrast.h"
#include "form/font_scale.h"
#include "form/interval_text.h"
#include "form/layout.h"
#include "form/looks.h"
#include "form/texts.h"
#include "logging/system_error.h"
#include "logging/text_win32.h"
#include "win32/accessible_text.h"
#include "win32/dpi.h"
#include "win32/folder_picker.h"
#include "win32/resources.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>
#include <wtsapi32.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <iterator>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

namespace wendle::win32 {

namespace {

// Control numbers: the place of each control in the layout table, plus one.
constexpr int FirstControlId = 100;
constexpr int PauseCommand = 195;
constexpr int ReportCommand = MainWindow::ReportCommand;
constexpr int LoginCommand = 199;
constexpr int ExitCommand = 200;
constexpr UINT TrayIconId = 1;

int controlId(std::string_view name) {
    return FirstControlId + static_cast<int>(&form::controlPlace(name) - form::Controls);
}

struct ControlKind {
    std::string_view name;
    const wchar_t *windowClass;
    DWORD style;
};

// In tab order: the window's children are visited in the order they were
// made. A label comes just before what it labels, as screen readers name a
// control by the text before it. Each control is a group of its own, so the
// arrow keys stay with the control that has them.
constexpr ControlKind Kinds[] = {
    {"lblLogFile", L"STATIC", SS_LEFT | SS_NOPREFIX},
    {"txtLogFile", L"EDIT", WS_GROUP | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY},
    {"cmdBrowse", L"BUTTON", WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON | BS_ICON},
    {"cmdShowLog", L"BUTTON", WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON},
    {"txtLog", L"EDIT",
     WS_GROUP | WS_BORDER | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
         ES_WANTRETURN},
    {"cmdStart", L"BUTTON", WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON},
    {"cmdStop", L"BUTTON", WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON | WS_DISABLED},
    {"lblTimerInterval", L"STATIC", SS_LEFT | SS_NOPREFIX},
    {"sldTimerInterval", TRACKBAR_CLASSW,
     WS_GROUP | WS_TABSTOP | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS},
    {"lblTimerValue", L"STATIC", SS_RIGHT | SS_NOPREFIX},
    {"chkAutostart", L"BUTTON", WS_GROUP | WS_TABSTOP | BS_AUTOCHECKBOX},
};

// The edit boxes give up Tab and Ctrl+Tab to the dialog keys (the recent-log
// box would keep them, and the focus with them), and leave their context
// menu to the window, whose menu has their Copy and Select All too.
LRESULT CALLBACK editProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR) {
    if (message == WM_GETDLGCODE) {
        LRESULT code = DefSubclassProc(edit, message, wParam, lParam);
        const auto *key = reinterpret_cast<const MSG *>(lParam);
        if (key && key->message == WM_KEYDOWN && key->wParam == VK_TAB)
            code &= ~(DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE);
        return code & ~DLGC_WANTTAB;
    }
    if (message == WM_CONTEXTMENU)
        return SendMessageW(GetParent(edit), WM_CONTEXTMENU, wParam, lParam);
    return DefSubclassProc(edit, message, wParam, lParam);
}

constexpr int CopyCommand = 196;
constexpr int SelectAllCommand = 197;

constexpr DWORD WindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

COLORREF color(std::uint32_t code) {
    return form::isSystemColor(code) ? GetSysColor(form::systemColorIndex(code))
                                     : static_cast<COLORREF>(code);
}

std::uint32_t rgbOf(COLORREF colour) {
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

// The folder's colour on the face of buttons; greyed never so faint that it
// cannot be read, whatever the scheme's shadow colour.
COLORREF folderColor(std::uint32_t code) {
    if (code != form::SysColor::ButtonShadow)
        return color(code);
    const std::uint32_t shown =
        form::readableGrey(rgbOf(GetSysColor(COLOR_BTNSHADOW)),
                           rgbOf(GetSysColor(COLOR_WINDOWTEXT)), rgbOf(GetSysColor(COLOR_BTNFACE)));
    return RGB((shown >> 16) & 0xFF, (shown >> 8) & 0xFF, shown & 0xFF);
}

// Captions measured with the default GUI font at a character height in
// pixels, in the window's own device context.
class GdiCaptionMeasure final : public form::CaptionMeasure {
public:
    GdiCaptionMeasure(HWND window, const LOGFONTW &font, int dpi)
        : m_window(window), m_dc(GetDC(window)), m_font(font), m_dpi(dpi) {}
    ~GdiCaptionMeasure() override {
        if (m_original)
            DeleteObject(SelectObject(m_dc, m_original));
        ReleaseDC(m_window, m_dc);
    }
    GdiCaptionMeasure(const GdiCaptionMeasure &) = delete;
    GdiCaptionMeasure &operator=(const GdiCaptionMeasure &) = delete;

    // The default font's own height, as a positive number of pixels.
    double ownSize() const { return std::abs(m_font.lfHeight); }
    // A font of that size for the window to keep; the caller deletes it.
    HFONT create(double size) {
        LOGFONTW font = m_font;
        font.lfHeight = (m_font.lfHeight < 0 ? -1 : 1) * static_cast<LONG>(size);
        return CreateFontIndirectW(&font);
    }

    form::PixelSize textSize(std::string_view text, double fontSize) override {
        if (fontSize != m_size) {
            select(create(fontSize));
            m_size = fontSize;
        }
        const std::wstring wide = widen(std::string(text));
        SIZE size{};
        GetTextExtentPoint32W(m_dc, wide.c_str(), static_cast<int>(wide.size()), &size);
        return {size.cx, size.cy};
    }
    form::PixelSize around(form::CaptionKind kind) override {
        switch (kind) {
        case form::CaptionKind::CheckBox:
            return {metricForDpi(SM_CXMENUCHECK, m_dpi) + metricForDpi(SM_CXEDGE, m_dpi) * 2, 0};
        case form::CaptionKind::Button:
            return {metricForDpi(SM_CXEDGE, m_dpi) * 4, 0};
        case form::CaptionKind::Label:
            break;
        }
        return {};
    }
    form::PixelSize room(const form::ControlPlace &place) override {
        RECT room{};
        GetClientRect(GetDlgItem(m_window, controlId(place.name)), &room);
        return {room.right, room.bottom};
    }

private:
    void select(HFONT font) {
        const HGDIOBJ previous = SelectObject(m_dc, font);
        if (m_original)
            DeleteObject(previous);
        else
            m_original = previous;
    }

    HWND m_window;
    HDC m_dc;
    LOGFONTW m_font{};
    int m_dpi;
    double m_size = 0;
    HGDIOBJ m_original = nullptr;
};

// The largest size of the font, no larger than its own, at which every
// caption can be read whole.
HFONT fittingCaptionFont(HWND window, const LOGFONTW &font, int dpi) {
    GdiCaptionMeasure measure(window, font, dpi);
    const double own = measure.ownSize();
    if (own <= 6)
        return measure.create(own);
    return measure.create(form::fittingCaptionSize(measure, own, 6.0, 1.0));
}

HICON loadIcon(HINSTANCE instance, int id, int size) {
    return static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

// The log writer's news go to the window's thread as messages to the window;
// before the window is made and after it is gone there is nobody to tell.
PostToWindow postingTo(const std::atomic<HWND> &window) {
    return [&window](std::function<void()> event) {
        const HWND target = window.load();
        auto *posted = new std::function<void()>(std::move(event));
        if (!target ||
            !PostMessageW(target, MainWindow::WriterMessage, 0, reinterpret_cast<LPARAM>(posted)))
            delete posted;
    };
}

} // namespace

MainWindow::MainWindow(HINSTANCE instance, const Clock &clock, Registry &registry)
    : form::TimeCheckForm(clock, m_timer, registry, postingTo(m_postTarget)), m_instance(instance),
      m_folderColor(form::SysColor::WindowText) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    m_dpi = m_systemDpi = systemDpi();
    // A font larger than the default gets a window larger by as much, its
    // captions in that font; the default font the window as designed.
    const LOGFONTW userFont = messageFontForDpi(m_dpi);
    const double scale =
        form::fontScale(std::abs(userFont.lfHeight), form::DefaultFontPoints * m_dpi / 72.0);
    m_fontScale = scale;
    if (scale > 1)
        m_captionFont = userFont;
    else
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof m_captionFont, &m_captionFont);
    m_icon = loadIcon(instance, IDI_CLOCK, GetSystemMetrics(SM_CXICON));
    m_smallIcon = loadIcon(instance, IDI_CLOCK, GetSystemMetrics(SM_CXSMICON));
    m_loggingIcon = loadIcon(instance, IDI_CLOCK_LOGGING, GetSystemMetrics(SM_CXSMICON));
    m_pausedIcon = loadIcon(instance, IDI_CLOCK_PAUSED, GetSystemMetrics(SM_CXSMICON));
    m_taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcOf<MainWindow>;
    windowClass.hInstance = instance;
    windowClass.hIcon = m_icon;
    windowClass.hIconSm = m_smallIcon;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = ClassName;
    if (!RegisterClassExW(&windowClass)) {
        m_failure = "Wendle cannot start: Windows refused its window class (" +
                    systemErrorText(GetLastError()) + ").";
        return;
    }

    const RECT frame = frameAt(m_dpi, nullptr, m_dpi);
    m_fixedSize = {frame.right - frame.left, frame.bottom - frame.top};
    m_window = CreateWindowExW(0, ClassName, widen(form::WindowCaption).c_str(), WindowStyle,
                               frame.left, frame.top, frame.right - frame.left,
                               frame.bottom - frame.top, nullptr, nullptr, instance, this);
    if (!m_window) {
        m_failure = "Wendle cannot start: Windows refused to make its window (" +
                    systemErrorText(GetLastError()) + ").";
        return;
    }
    m_timer.attach(m_window);
    m_postTarget = m_window;
    createControls();
    // A window that opens on a monitor of another DPI than the system's is
    // laid out for that monitor.
    if (const int dpi = windowDpi(m_window, m_dpi); dpi != m_dpi)
        layOut(dpi, nullptr);

    m_popup = CreatePopupMenu();
    AppendMenuW(m_popup, MF_STRING, ReportCommand, widen(form::ReportCaption).c_str());
    AppendMenuW(m_popup, MF_STRING, LoginCommand, widen(form::StartAtLoginCaption).c_str());
    AppendMenuW(m_popup, MF_STRING, PauseCommand, widen(form::PauseWhileLockedCaption).c_str());
    AppendMenuW(m_popup, MF_STRING, ExitCommand, widen(form::ExitCaption).c_str());
    m_report =
        std::make_unique<ReportWindow>(instance, m_icon, clock, [this] { return reportFolders(); });
}

MainWindow::~MainWindow() {
    stopWatchingTray();
    if (m_window)
        DestroyWindow(m_window);
    DestroyMenu(m_popup);
    DestroyIcon(m_icon);
    DestroyIcon(m_smallIcon);
    DestroyIcon(m_loggingIcon);
    DestroyIcon(m_pausedIcon);
    DestroyIcon(m_folderIcon);
    DeleteObject(m_font);
}

RECT MainWindow::frameAt(int dpi, const RECT *corner, int frameDpi) const {
    // The client area has the fixed size, its corner at the fixed place or
    // where the window is now (corner).
    const double layoutDpi = dpi * m_fontScale;
    const auto px = [layoutDpi](int twips) { return form::twipsToPixels(twips, layoutDpi); };
    // The client area in the size of its twips, as every control is: its
    // corners rounded one by one could make it a pixel short.
    const int left = px(form::LeftTwips), top = px(form::TopTwips);
    RECT frame{left, top, left + px(form::ClientWidthTwips), top + px(form::ClientHeightTwips)};
    frameForDpi(frame, WindowStyle, 0, frameDpi);
    if (corner)
        OffsetRect(&frame, corner->left - frame.left, corner->top - frame.top);
    // On a screen too small for that place, as far in as the window fits.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromRect(&frame, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT &work = monitor.rcWork;
        const form::Area kept = form::keptOnScreen(
            {frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top},
            {work.left, work.top, work.right - work.left, work.bottom - work.top});
        OffsetRect(&frame, kept.left - frame.left, kept.top - frame.top);
    }
    return frame;
}

void MainWindow::createControls() {
    for (const ControlKind &kind : Kinds) {
        const form::ControlPlace &place = form::controlPlace(kind.name);
        CreateWindowExW(0, kind.windowClass, widen(std::string(place.caption)).c_str(),
                        WS_CHILD | WS_VISIBLE | kind.style, 0, 0, 0, 0, m_window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(place.name))),
                        m_instance, nullptr);
    }
    placeControls();
    // Not drawn beside the picture, but what a screen reader says for it.
    SetWindowTextW(control("cmdBrowse"), widen(form::BrowseAccessibleName).c_str());
    for (const char *name : {"txtLogFile", "txtLog"})
        SetWindowSubclass(control(name), editProc, 0, 0);
    showInterval(LoggingControl::DefaultIntervalMs / 1000);
    const HWND slider = control("sldTimerInterval");
    SendMessageW(slider, TBM_SETRANGE, FALSE, MAKELPARAM(form::IntervalMin, form::IntervalMax));
    SendMessageW(slider, TBM_SETLINESIZE, 0, form::IntervalSmallStep);
    SendMessageW(slider, TBM_SETPAGESIZE, 0, form::IntervalLargeStep);
    SendMessageW(slider, TBM_SETTICFREQ, form::IntervalTickEvery, 0);
    SendMessageW(slider, TBM_SETPOS, TRUE, LoggingControl::DefaultIntervalMs / 1000);
    // No limit: the recent log alone may hold 32000 characters.
    SendMessageW(control("txtLog"), EM_SETLIMITTEXT, 0, 0);
}

void MainWindow::placeControls() {
    const double layoutDpi = m_dpi * m_fontScale;
    const auto px = [layoutDpi](int twips) { return form::twipsToPixels(twips, layoutDpi); };
    for (const form::ControlPlace &place : form::Controls)
        MoveWindow(control(place.name), px(place.left), px(place.top), px(place.width),
                   px(place.height), FALSE);
    // The captions' font and the folder picture at this DPI; the old ones go
    // once no control uses them.
    // The captions' font was made for the system's DPI; at another it grows
    // or shrinks with it.
    LOGFONTW captionFont = m_captionFont;
    if (m_fontScale > 1)
        captionFont = messageFontForDpi(m_dpi);
    else
        captionFont.lfHeight = MulDiv(captionFont.lfHeight, m_dpi, m_systemDpi);
    const HFONT font = fittingCaptionFont(m_window, captionFont, m_dpi);
    for (const form::ControlPlace &place : form::Controls)
        SendMessageW(control(place.name), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const HICON folderIcon = loadIcon(m_instance, IDI_FOLDER, MulDiv(16, m_dpi, 96));
    SendMessageW(control("cmdBrowse"), BM_SETIMAGE, IMAGE_ICON,
                 reinterpret_cast<LPARAM>(folderIcon));
    DeleteObject(m_font);
    DestroyIcon(m_folderIcon);
    m_font = font;
    m_folderIcon = folderIcon;
}

void MainWindow::layOut(int dpi, const RECT *suggested) {
    m_dpi = dpi;
    placeControls();
    RECT now{};
    GetWindowRect(m_window, &now);
    // Where Windows suggests, in the size of the layout: with the frame at
    // the DPI it is drawn at, which Windows has changed by now.
    const RECT frame = frameAt(dpi, suggested ? suggested : &now, windowDpi(m_window, dpi));
    // The size limits follow before the window is sized.
    m_fixedSize = {frame.right - frame.left, frame.bottom - frame.top};
    SetWindowPos(m_window, nullptr, frame.left, frame.top, m_fixedSize.x, m_fixedSize.y,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(m_window, nullptr, TRUE);
}

HWND MainWindow::control(std::string_view name) const {
    return GetDlgItem(m_window, controlId(name));
}

void MainWindow::show() {
    m_focus = control("txtLogFile");
    ShowWindow(m_window, SW_SHOWNORMAL);
    UpdateWindow(m_window);
    SetFocus(m_focus);
}

void MainWindow::showMinimized() {
    if (!m_trayAdded)
        ShowWindow(m_window, SW_SHOWMINNOACTIVE);
}

int MainWindow::run() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Tab moves between the controls; Escape and Enter do nothing, as
        // no button is the window's cancel or default button.
        if (IsDialogMessageW(m_window, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

LRESULT MainWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        command(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_ACTIVATE:
        // As a dialog does: the focus goes back where it was when the window
        // comes back, the folder box the first time.
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (const HWND focused = GetFocus(); focused && IsChild(m_window, focused))
                m_focus = focused;
        } else if (!HIWORD(wParam)) {
            SetFocus(m_focus && IsWindowEnabled(m_focus) ? m_focus : control("txtLogFile"));
        }
        return 0;
    case WM_CONTEXTMENU:
        showWindowMenu(reinterpret_cast<HWND>(wParam), lParam);
        return 0;
    case WM_TIMER:
        if (wParam == WindowTimer::Id)
            m_timer.fire();
        return 0;
    case TrayGoneMessage:
        trayGone();
        return 0;
    case WriterMessage: {
        const std::unique_ptr<std::function<void()>> event(
            reinterpret_cast<std::function<void()> *>(lParam));
        (*event)();
        return 0;
    }
    case WM_HSCROLL:
        // Both the settled changes and the thumb's dragging set the interval.
        if (reinterpret_cast<HWND>(lParam) == control("sldTimerInterval"))
            intervalChosen(
                static_cast<int>(SendMessageW(control("sldTimerInterval"), TBM_GETPOS, 0, 0)));
        return 0;
    case TrayCallbackMessage:
        trayMessage(static_cast<int>(LOWORD(lParam)));
        return 0;
    case WM_SIZE:
        // Hidden, the window can only come back through the icon: without
        // one it stays minimised in the taskbar.
        if (wParam == SIZE_MINIMIZED && m_trayAdded)
            ShowWindow(m_window, SW_HIDE);
        else if (wParam == SIZE_MAXIMIZED)
            ShowWindow(m_window, SW_RESTORE);
        return 0;
    case WM_CTLCOLORSTATIC: {
        // The folder box and its label show the look's colour, on the face
        // colour of buttons.
        const HDC dc = reinterpret_cast<HDC>(wParam);
        const HWND child = reinterpret_cast<HWND>(lParam);
        if (child == control("lblLogFile") || child == control("txtLogFile"))
            SetTextColor(dc, folderColor(m_folderColor));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case ComeForwardMessage:
        bringForward();
        raiseOpenDialog();
        return 0;
    case WM_GETDPISCALEDSIZE: {
        // Before a move to a monitor of another DPI: the size the layout has
        // there, so that the frame Windows then suggests is already right.
        const int dpi = static_cast<int>(wParam);
        const RECT frame = frameAt(dpi, nullptr, dpi);
        auto *size = reinterpret_cast<SIZE *>(lParam);
        size->cx = frame.right - frame.left;
        size->cy = frame.bottom - frame.top;
        return TRUE;
    }
    case WM_DPICHANGED:
        // Moved to a monitor of another DPI, or the user changed the scale:
        // the layout again at the new DPI, in the place Windows suggests.
        layOut(HIWORD(wParam), reinterpret_cast<const RECT *>(lParam));
        return 0;
    case WM_GETMINMAXINFO: {
        // The layout is fixed: no state a window manager asks for changes
        // the window's size.
        auto *limits = reinterpret_cast<MINMAXINFO *>(lParam);
        if (m_fixedSize.x > 0)
            limits->ptMinTrackSize = limits->ptMaxTrackSize = limits->ptMaxSize = m_fixedSize;
        return 0;
    }
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // Logging off or shutting down ends the program as Exit does. Windows
        // may end the process as soon as this returns: the writer is done first.
        if (wParam) {
            close();
            logging().finish();
        }
        return 0;
    case WM_CLOSE:
        close();
        return 0;
    case WM_WTSSESSION_CHANGE:
        sessionChanged(wParam);
        return 0;
    case WM_POWERBROADCAST:
        powerChanged(wParam);
        return TRUE;
    case WM_DESTROY:
        if (m_sessionWatched)
            WTSUnRegisterSessionNotification(m_window);
        m_sessionWatched = false;
        m_window = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        // Explorer (re)started: the icons it had are gone, so a hidden
        // window would be out of reach.
        if (message == m_taskbarCreated && m_taskbarCreated != 0) {
            if (m_trayWanted)
                addIconToShell();
            return 0;
        }
        return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

void MainWindow::command(int id, int code) {
    if (id == IDOK) {
        // Enter presses the focused button, as Space does; no button is the
        // window's default, so Enter elsewhere does nothing.
        const HWND focused = GetFocus();
        wchar_t kind[16] = {};
        if (focused && IsChild(m_window, focused) && IsWindowEnabled(focused) &&
            GetClassNameW(focused, kind, 16) && lstrcmpiW(kind, L"BUTTON") == 0 &&
            (GetWindowLongW(focused, GWL_STYLE) & BS_TYPEMASK) <= BS_DEFPUSHBUTTON)
            SendMessageW(focused, BM_CLICK, 0, 0);
        return;
    }
    if (id == CopyCommand || id == SelectAllCommand) {
        if (m_menuEdit && id == CopyCommand)
            SendMessageW(m_menuEdit, WM_COPY, 0, 0);
        else if (m_menuEdit)
            SendMessageW(m_menuEdit, EM_SETSEL, 0, -1);
        return;
    }
    if (id == ExitCommand) {
        close();
        return;
    }
    if (id == LoginCommand) {
        startAtLoginChosen(!startsAtLogin());
        return;
    }
    if (id == PauseCommand) {
        pauseWhileLockedChosen(!pausesWhileLocked());
        return;
    }
    if (id == ReportCommand) {
        reportChosen();
        return;
    }
    if (code != BN_CLICKED)
        return;
    if (id == controlId("cmdStart"))
        logging().start();
    else if (id == controlId("cmdStop"))
        logging().stop();
    else if (id == controlId("cmdShowLog"))
        logging().showRecentLog();
    else if (id == controlId("cmdBrowse"))
        chooseFolder();
    else if (id == controlId("chkAutostart"))
        autostartChanged(Button_GetCheck(control("chkAutostart")) == BST_CHECKED);
}

void MainWindow::close() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    unload();
    m_report.reset();
    DestroyWindow(m_window);
}

std::optional<bool> MainWindow::askAutostart() {
    const int answer = MessageBoxA(m_window, toAnsi(form::AutostartQuestion).c_str(),
                                   toAnsi(form::ApplicationTitle).c_str(), MB_YESNO);
    if (m_unloaded)
        return std::nullopt;
    return answer == IDYES;
}

void MainWindow::setAutostartChecked(bool checked) {
    // The box reports a change made by the program as it does a click.
    const HWND box = control("chkAutostart");
    if ((Button_GetCheck(box) == BST_CHECKED) == checked)
        return;
    Button_SetCheck(box, checked ? BST_CHECKED : BST_UNCHECKED);
    autostartChanged(checked);
}

NOTIFYICONDATAW MainWindow::trayIconData(UINT flags) const {
    NOTIFYICONDATAW icon{};
    // The second version's fields: a tip of 128 characters and the balloon.
    icon.cbSize = NOTIFYICONDATAW_V2_SIZE;
    icon.hWnd = m_window;
    icon.uID = TrayIconId;
    icon.uFlags = flags;
    if (flags & NIF_ICON)
        icon.hIcon = trayPicture(form::trayPicture(trayState()));
    if (flags & NIF_TIP)
        copyToField(form::trayTip(trayState()), icon.szTip, std::size(icon.szTip));
    return icon;
}

HICON MainWindow::trayPicture(form::TrayPicture picture) const {
    switch (picture) {
    case form::TrayPicture::Warning:
        return LoadIconA(nullptr, IDI_WARNING);
    case form::TrayPicture::LoggingClock:
        return m_loggingIcon;
    case form::TrayPicture::Paused:
        return m_pausedIcon;
    case form::TrayPicture::Clock:
        break;
    }
    return m_smallIcon;
}

void MainWindow::watchSession() {
    // Told of this session only; Windows 7 has it as XP had.
    if (!m_sessionWatched && m_window)
        m_sessionWatched =
            WTSRegisterSessionNotification(m_window, NOTIFY_FOR_THIS_SESSION) != FALSE;
}

void MainWindow::sessionChanged(WPARAM change) {
    switch (change) {
    case WTS_SESSION_LOCK:
    case WTS_SESSION_UNLOCK:
        logging().pauseSource(PauseSource::WindowsLock, change == WTS_SESSION_LOCK);
        break;
    case WTS_CONSOLE_DISCONNECT:
    case WTS_REMOTE_DISCONNECT:
    case WTS_CONSOLE_CONNECT:
    case WTS_REMOTE_CONNECT:
        logging().pauseSource(PauseSource::Disconnected,
                              change == WTS_CONSOLE_DISCONNECT || change == WTS_REMOTE_DISCONNECT);
        break;
    default:
        break;
    }
}

void MainWindow::powerChanged(WPARAM change) {
    // Every resume is told as automatic; one the user woke is told again.
    if (change == PBT_APMSUSPEND)
        logging().pauseSource(PauseSource::Sleep, true);
    else if (change == PBT_APMRESUMEAUTOMATIC || change == PBT_APMRESUMESUSPEND)
        logging().pauseSource(PauseSource::Sleep, false);
}

void MainWindow::addTrayIcon() {
    m_trayWanted = true;
    addIconToShell();
}

void MainWindow::addIconToShell() {
    NOTIFYICONDATAW icon = trayIconData(NIF_MESSAGE | NIF_ICON | NIF_TIP);
    icon.uCallbackMessage = TrayCallbackMessage;
    m_trayAdded = Shell_NotifyIconW(NIM_ADD, &icon) != FALSE;
    if (!m_trayAdded)
        return;
    watchTray();
    // Minimised for want of a notification area, the window now hides in it.
    if (IsIconic(m_window))
        ShowWindow(m_window, SW_HIDE);
}

void MainWindow::removeTrayIcon() {
    stopWatchingTray();
    NOTIFYICONDATAW icon = trayIconData(0);
    Shell_NotifyIconW(NIM_DELETE, &icon);
    m_trayWanted = false;
    m_trayAdded = false;
}

void MainWindow::watchTray() {
    stopWatchingTray();
    DWORD process = 0;
    if (const HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr))
        GetWindowThreadProcessId(taskbar, &process);
    m_trayProcess = process ? OpenProcess(SYNCHRONIZE, FALSE, process) : nullptr;
    // The wait runs on a thread of Windows' pool; it only posts the news.
    const auto ended = [](void *window, BOOLEAN) {
        PostMessageW(static_cast<HWND>(window), TrayGoneMessage, 0, 0);
    };
    if (m_trayProcess && !RegisterWaitForSingleObject(&m_trayWait, m_trayProcess, ended, m_window,
                                                      INFINITE, WT_EXECUTEONLYONCE)) {
        m_trayWait = nullptr;
        CloseHandle(m_trayProcess);
        m_trayProcess = nullptr;
    }
}

void MainWindow::stopWatchingTray() {
    // Waits for a callback under way, which only posts.
    if (m_trayWait)
        UnregisterWaitEx(m_trayWait, INVALID_HANDLE_VALUE);
    if (m_trayProcess)
        CloseHandle(m_trayProcess);
    m_trayWait = nullptr;
    m_trayProcess = nullptr;
}

void MainWindow::trayGone() {
    stopWatchingTray();
    if (!m_trayAdded)
        return;
    // A taskbar already there again takes the icon; otherwise "TaskbarCreated"
    // tells when one comes.
    m_trayAdded = false;
    addIconToShell();
    if (m_trayAdded || m_unloaded || IsWindowVisible(m_window))
        return;
    // Minimised in the taskbar; with no taskbar either, on the desktop,
    // without taking the focus from what the user is doing.
    ShowWindow(m_window,
               FindWindowW(L"Shell_TrayWnd", nullptr) ? SW_SHOWMINNOACTIVE : SW_SHOWNOACTIVATE);
}

void MainWindow::showFolderText(const std::string &folder) {
    SetWindowTextW(control("txtLogFile"), widen(folder).c_str());
}

std::string MainWindow::browseForFolder(const std::string &title) {
    const ChosenFolder chosen = BrowseForFolder(m_window, title, std::string(), true);
    if (!chosen.refusal.empty())
        report(chosen.refusal);
    return chosen.folder;
}

void MainWindow::restoreWindow() {
    m_focus = control("txtLogFile");
    ShowWindow(m_window, SW_RESTORE);
    ShowWindow(m_window, SW_SHOW);
    SetForegroundWindow(m_window);
    raiseOpenDialog();
}

void MainWindow::raiseOpenDialog() {
    // A dialog the window has open comes back in front of it, or the window
    // would take no input while the dialog stays minimised.
    if (const HWND dialog = GetLastActivePopup(m_window); dialog && dialog != m_window) {
        ShowWindow(dialog, SW_RESTORE);
        SetForegroundWindow(dialog);
    }
}

void MainWindow::showPopupMenu() {
    POINT at;
    GetCursorPos(&at);
    // The entry may have been made or removed by hand meanwhile.
    CheckMenuItem(m_popup, LoginCommand,
                  MF_BYCOMMAND | (startsAtLogin() ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(m_popup, PauseCommand,
                  MF_BYCOMMAND | (pausesWhileLocked() ? MF_CHECKED : MF_UNCHECKED));
    // Without the foreground the menu would not close when clicked away.
    SetForegroundWindow(m_window);
    TrackPopupMenu(m_popup, 0, at.x, at.y, 0, m_window, nullptr);
    PostMessageW(m_window, WM_NULL, 0, 0);
}

void MainWindow::showWindowMenu(HWND from, LPARAM at) {
    POINT place{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (at == -1) {
        // From the keyboard (Shift+F10, the Menu key): at the focused control.
        RECT box{};
        const HWND focused = GetFocus();
        GetWindowRect(focused && IsChild(m_window, focused) ? focused : m_window, &box);
        place = {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    }
    const bool edit = from == control("txtLogFile") || from == control("txtLog");
    m_menuEdit = edit ? from : nullptr;
    const HMENU menu = CreatePopupMenu();
    if (edit) {
        DWORD start = 0, end = 0;
        SendMessageW(from, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        AppendMenuW(menu, MF_STRING | (start == end ? MF_GRAYED : 0), CopyCommand, L"&Copy");
        AppendMenuW(menu, MF_STRING, SelectAllCommand, L"Select &All");
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    }
    AppendMenuW(menu, MF_STRING, ReportCommand, widen(form::ReportCaption).c_str());
    AppendMenuW(menu, MF_STRING | (startsAtLogin() ? MF_CHECKED : MF_UNCHECKED), LoginCommand,
                widen(form::StartAtLoginCaption).c_str());
    AppendMenuW(menu, MF_STRING | (pausesWhileLocked() ? MF_CHECKED : MF_UNCHECKED), PauseCommand,
                widen(form::PauseWhileLockedCaption).c_str());
    AppendMenuW(menu, MF_STRING, ExitCommand, widen(form::ExitCaption).c_str());
    TrackPopupMenu(menu, 0, place.x, place.y, 0, m_window, nullptr);
    DestroyMenu(menu);
}

void MainWindow::setLook(const form::Look &look) {
    // Start and Stop hand the focus to each other: a disabled button keeps
    // no focus, and the window would be left with none.
    const HWND focused = GetFocus();
    if (focused == control("cmdStart") || focused == control("cmdStop")) {
        const HWND next = control(look.startEnabled ? "cmdStart" : "cmdStop");
        EnableWindow(next, TRUE);
        SetFocus(next);
    }
    EnableWindow(control("cmdStart"), look.startEnabled);
    EnableWindow(control("cmdStop"), look.stopEnabled);
    m_folderColor = look.folderColor;
    InvalidateRect(control("lblLogFile"), nullptr, TRUE);
    InvalidateRect(control("txtLogFile"), nullptr, TRUE);
    EnableWindow(control("cmdBrowse"), look.browseEnabled);
}

void MainWindow::showRecentLogText(const std::string &text) {
    const HWND view = control("txtLog");
    SetWindowTextW(view, widen(text).c_str());
    const int length = GetWindowTextLengthW(view);
    SendMessageW(view, EM_SETSEL, length, length);
    SendMessageW(view, EM_SCROLLCARET, 0, 0);
}

void MainWindow::appendLogNote(const std::string &note) {
    // Below the recent lines, where the user looks for the newest.
    const HWND view = control("txtLog");
    std::string text = note;
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2))
        text.replace(at, 1, "\r\n");
    const int length = GetWindowTextLengthW(view);
    SendMessageW(view, EM_SETSEL, length, length);
    SendMessageW(view, EM_REPLACESEL, FALSE,
                 reinterpret_cast<LPARAM>(widen((length > 0 ? "\r\n" : "") + text).c_str()));
    SendMessageW(view, EM_SCROLLCARET, 0, 0);
}

void MainWindow::showNotice(const LoggingNotice &notice) {
    appendLogNote(notice.text);
    if (!m_trayAdded)
        return;
    // The balloon says it once; the icon's picture and tip follow the
    // state, while it lasts.
    NOTIFYICONDATAW icon = trayIconData(NIF_INFO);
    copyToField(notice.text, icon.szInfo, std::size(icon.szInfo));
    copyToField(form::ApplicationTitle, icon.szInfoTitle, std::size(icon.szInfoTitle));
    icon.dwInfoFlags = notice.trouble ? NIIF_WARNING : NIIF_INFO;
    Shell_NotifyIconW(NIM_MODIFY, &icon);
}

void MainWindow::showInterval(int seconds) {
    SetWindowTextW(control("lblTimerValue"), widen(form::intervalShortText(seconds)).c_str());
    // A screen reader hears the slider's value with its unit, not the bare
    // number the trackbar gives.
    setAccessibleText(control("sldTimerInterval"), AccessibleText::Value,
                      widen(form::intervalSpokenText(seconds)));
}

void MainWindow::presentReport() {
    m_report->present();
}

void MainWindow::showTrayState(form::TrayPicture, const std::string &) {
    if (!m_trayAdded)
        return;
    NOTIFYICONDATAW icon = trayIconData(NIF_TIP | NIF_ICON);
    // Refused, not for being slow: the icon is gone, or the taskbar with it.
    // A refusal need not set the error, so an earlier call's must not stay.
    SetLastError(ERROR_SUCCESS);
    if (!Shell_NotifyIconW(NIM_MODIFY, &icon) && GetLastError() != ERROR_TIMEOUT)
        trayGone();
}

void MainWindow::report(const std::string &message) {
    MessageBoxW(m_window, widen(message).c_str(), widen(form::ApplicationTitle).c_str(),
                MB_OK | MB_ICONWARNING);
}

} // namespace wendle::win32
