#include "win32/main_window.h"

#include "win32/window_proc.h"

#include "form/caption_fit.h"
#include "form/layout.h"
#include "form/looks.h"
#include "form/texts.h"
#include "logging/text_win32.h"
#include "win32/folder_picker.h"
#include "win32/resources.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace wendle::win32 {

namespace {

// Control numbers: the place of each control in the layout table, plus one.
constexpr int FirstControlId = 100;
constexpr int ReportCommand = 198;
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

// In tab order: the window's children are visited in the order they were made.
constexpr ControlKind Kinds[] = {
    {"txtLogFile", L"EDIT", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY},
    {"cmdBrowse", L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON | BS_ICON},
    {"lblLogFile", L"STATIC", SS_LEFT | SS_NOPREFIX},
    {"cmdShowLog", L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON},
    {"txtLog", L"EDIT",
     WS_BORDER | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN},
    {"cmdStart", L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON},
    {"cmdStop", L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON | WS_DISABLED},
    {"sldTimerInterval", TRACKBAR_CLASSW, WS_TABSTOP | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS},
    {"lblTimerInterval", L"STATIC", SS_LEFT | SS_NOPREFIX},
    {"chkAutostart", L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX},
};

constexpr DWORD WindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

COLORREF color(std::uint32_t code) {
    return form::isSystemColor(code) ? GetSysColor(form::systemColorIndex(code))
                                     : static_cast<COLORREF>(code);
}

// Captions measured with the default GUI font at a character height in
// pixels, in the window's own device context.
class GdiCaptionMeasure final : public form::CaptionMeasure {
public:
    explicit GdiCaptionMeasure(HWND window) : m_window(window), m_dc(GetDC(window)) {
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof m_font, &m_font);
    }
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
            return {GetSystemMetrics(SM_CXMENUCHECK) + GetSystemMetrics(SM_CXEDGE) * 2, 0};
        case form::CaptionKind::Button:
            return {GetSystemMetrics(SM_CXEDGE) * 4, 0};
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
    double m_size = 0;
    HGDIOBJ m_original = nullptr;
};

// The largest size of the default GUI font, no larger than its own, at which
// every caption can be read whole.
HFONT fittingCaptionFont(HWND window) {
    GdiCaptionMeasure measure(window);
    const double own = measure.ownSize();
    if (own <= 6)
        return measure.create(own);
    return measure.create(form::fittingCaptionSize(measure, own, 6.0, 1.0));
}

HICON loadIcon(HINSTANCE instance, int id, int size) {
    return static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

} // namespace

MainWindow::MainWindow(HINSTANCE instance, const Clock &clock, Registry &registry)
    : form::TimeCheckForm(clock, m_timer, registry), m_instance(instance),
      m_folderColor(form::SysColor::WindowText) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    const HDC screen = GetDC(nullptr);
    m_dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    m_icon = loadIcon(instance, IDI_CLOCK, GetSystemMetrics(SM_CXICON));
    m_smallIcon = loadIcon(instance, IDI_CLOCK, GetSystemMetrics(SM_CXSMICON));
    m_folderIcon = loadIcon(instance, IDI_FOLDER, 16);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcOf<MainWindow>;
    windowClass.hInstance = instance;
    windowClass.hIcon = m_icon;
    windowClass.hIconSm = m_smallIcon;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = ClassName;
    RegisterClassExW(&windowClass);

    // The client area has the fixed size, its corner at the fixed place.
    const auto px = [this](int twips) { return form::twipsToPixels(twips, m_dpi); };
    RECT frame{px(form::LeftTwips), px(form::TopTwips),
               px(form::LeftTwips + form::ClientWidthTwips),
               px(form::TopTwips + form::ClientHeightTwips)};
    AdjustWindowRectEx(&frame, WindowStyle, FALSE, 0);
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
    m_fixedSize = {frame.right - frame.left, frame.bottom - frame.top};
    m_window = CreateWindowExW(0, ClassName, widen(form::WindowCaption).c_str(), WindowStyle,
                               frame.left, frame.top, frame.right - frame.left,
                               frame.bottom - frame.top, nullptr, nullptr, instance, this);
    m_timer.attach(m_window);
    createControls();

    m_popup = CreatePopupMenu();
    AppendMenuW(m_popup, MF_STRING, ReportCommand, widen(form::ReportCaption).c_str());
    AppendMenuW(m_popup, MF_STRING, LoginCommand, widen(form::StartAtLoginCaption).c_str());
    AppendMenuW(m_popup, MF_STRING, ExitCommand, widen(form::ExitCaption).c_str());
    m_report = std::make_unique<ReportWindow>(instance, m_icon, clock,
                                              [this] { return logging().folder(); });
}

MainWindow::~MainWindow() {
    if (m_window)
        DestroyWindow(m_window);
    DestroyMenu(m_popup);
    DestroyIcon(m_icon);
    DestroyIcon(m_smallIcon);
    DestroyIcon(m_folderIcon);
    DeleteObject(m_font);
}

void MainWindow::createControls() {
    const auto px = [this](int twips) { return form::twipsToPixels(twips, m_dpi); };
    for (const ControlKind &kind : Kinds) {
        const form::ControlPlace &place = form::controlPlace(kind.name);
        CreateWindowExW(0, kind.windowClass, widen(std::string(place.caption)).c_str(),
                        WS_CHILD | WS_VISIBLE | kind.style, px(place.left), px(place.top),
                        px(place.width), px(place.height), m_window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(place.name))),
                        m_instance, nullptr);
    }
    m_font = fittingCaptionFont(m_window);
    for (const form::ControlPlace &place : form::Controls)
        SendMessageW(control(place.name), WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
    SendMessageW(control("cmdBrowse"), BM_SETIMAGE, IMAGE_ICON,
                 reinterpret_cast<LPARAM>(m_folderIcon));
    const HWND slider = control("sldTimerInterval");
    SendMessageW(slider, TBM_SETRANGE, FALSE, MAKELPARAM(form::IntervalMin, form::IntervalMax));
    SendMessageW(slider, TBM_SETLINESIZE, 0, form::IntervalSmallStep);
    SendMessageW(slider, TBM_SETPAGESIZE, 0, form::IntervalLargeStep);
    SendMessageW(slider, TBM_SETTICFREQ, form::IntervalTickEvery, 0);
    SendMessageW(slider, TBM_SETPOS, TRUE, LoggingControl::DefaultIntervalMs / 1000);
    // No limit: the recent log alone may hold 32000 characters.
    SendMessageW(control("txtLog"), EM_SETLIMITTEXT, 0, 0);
}

HWND MainWindow::control(std::string_view name) const {
    return GetDlgItem(m_window, controlId(name));
}

void MainWindow::show() {
    ShowWindow(m_window, SW_SHOWNORMAL);
    UpdateWindow(m_window);
    SetFocus(control("txtLogFile"));
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
    case WM_TIMER:
        if (wParam == WindowTimer::Id)
            m_timer.fire();
        return 0;
    case WM_HSCROLL:
        // Both the settled changes and the thumb's dragging set the interval.
        if (reinterpret_cast<HWND>(lParam) == control("sldTimerInterval"))
            logging().setIntervalSeconds(
                static_cast<int>(SendMessageW(control("sldTimerInterval"), TBM_GETPOS, 0, 0)));
        return 0;
    case WM_MOUSEMOVE:
        trayMessage(GET_X_LPARAM(lParam));
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
            SetTextColor(dc, color(m_folderColor));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case ComeForwardMessage:
        bringForward();
        raiseOpenDialog();
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
        // Logging off or shutting down ends the program as Exit does.
        if (wParam)
            close();
        return 0;
    case WM_CLOSE:
        close();
        return 0;
    case WM_DESTROY:
        m_window = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

void MainWindow::command(int id, int code) {
    if (id == ExitCommand) {
        close();
        return;
    }
    if (id == LoginCommand) {
        startAtLoginChosen(!startsAtLogin());
        return;
    }
    if (id == ReportCommand) {
        m_report->present();
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

void MainWindow::addTrayIcon() {
    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = m_window;
    icon.uID = TrayIconId;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = WM_MOUSEMOVE;
    icon.hIcon = m_smallIcon;
    std::strncpy(icon.szTip, form::TrayTip, sizeof icon.szTip - 1);
    m_trayAdded = Shell_NotifyIconA(NIM_ADD, &icon) != FALSE;
}

void MainWindow::removeTrayIcon() {
    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = m_window;
    icon.uID = TrayIconId;
    Shell_NotifyIconA(NIM_DELETE, &icon);
    m_trayAdded = false;
}

void MainWindow::showFolderText(const std::string &folder) {
    SetWindowTextW(control("txtLogFile"), widen(folder).c_str());
}

std::string MainWindow::browseForFolder(const std::string &title) {
    return BrowseForFolder(m_window, title, std::string(), true);
}

void MainWindow::restoreWindow() {
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
    // Without the foreground the menu would not close when clicked away.
    SetForegroundWindow(m_window);
    TrackPopupMenu(m_popup, 0, at.x, at.y, 0, m_window, nullptr);
    PostMessageW(m_window, WM_NULL, 0, 0);
}

void MainWindow::setLook(const form::Look &look) {
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

void MainWindow::showNotice(const LoggingNotice &notice) {
    // Below the recent lines, where the user looks for the newest.
    const HWND view = control("txtLog");
    std::string text = notice.text;
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2))
        text.replace(at, 1, "\r\n");
    const int length = GetWindowTextLengthW(view);
    SendMessageW(view, EM_SETSEL, length, length);
    SendMessageW(view, EM_REPLACESEL, FALSE,
                 reinterpret_cast<LPARAM>(widen((length > 0 ? "\r\n" : "") + text).c_str()));
    SendMessageW(view, EM_SCROLLCARET, 0, 0);
    if (!m_trayAdded)
        return;
    // The icon's picture and tip say it while it lasts; the balloon says it once.
    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V2_SIZE;
    icon.hWnd = m_window;
    icon.uID = TrayIconId;
    icon.uFlags = NIF_ICON | NIF_TIP | NIF_INFO;
    icon.hIcon = notice.trouble ? LoadIconA(nullptr, IDI_WARNING) : m_smallIcon;
    std::strncpy(icon.szTip, notice.trouble ? form::TrayTipHolding : form::TrayTip,
                 sizeof icon.szTip - 1);
    std::strncpy(icon.szInfo, toAnsi(notice.text).c_str(), sizeof icon.szInfo - 1);
    std::strncpy(icon.szInfoTitle, form::ApplicationTitle, sizeof icon.szInfoTitle - 1);
    icon.dwInfoFlags = notice.trouble ? NIIF_WARNING : NIIF_INFO;
    Shell_NotifyIconA(NIM_MODIFY, &icon);
}

void MainWindow::report(const std::string &message) {
    MessageBoxW(m_window, widen(message).c_str(), widen(form::ApplicationTitle).c_str(),
                MB_OK | MB_ICONWARNING);
}

} // namespace wendle::win32
