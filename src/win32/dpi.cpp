#include "win32/dpi.h"

namespace wendle::win32 {

namespace {

template <typename Function> Function user32(const char *name) {
    static const HMODULE user = GetModuleHandleW(L"user32.dll");
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(user ? GetProcAddress(user, name) : nullptr));
}

using DpiForWindow = UINT(WINAPI *)(HWND);
using MetricsForDpi = int(WINAPI *)(int, UINT);
using AdjustForDpi = BOOL(WINAPI *)(LPRECT, DWORD, BOOL, DWORD, UINT);
using ParametersForDpi = BOOL(WINAPI *)(UINT, UINT, PVOID, UINT, UINT);

} // namespace

int systemDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int windowDpi(HWND window, int otherwise) {
    static const auto dpiFor = user32<DpiForWindow>("GetDpiForWindow");
    const UINT dpi = dpiFor && window ? dpiFor(window) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : otherwise;
}

int metricForDpi(int index, int dpi) {
    static const auto forDpi = user32<MetricsForDpi>("GetSystemMetricsForDpi");
    return forDpi ? forDpi(index, static_cast<UINT>(dpi)) : GetSystemMetrics(index);
}

void frameForDpi(RECT &client, DWORD style, DWORD exStyle, int dpi) {
    static const auto forDpi = user32<AdjustForDpi>("AdjustWindowRectExForDpi");
    if (!forDpi || !forDpi(&client, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&client, style, FALSE, exStyle);
}

LOGFONTW messageFontForDpi(int dpi) {
    static const auto forDpi = user32<ParametersForDpi>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!forDpi ||
        !forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi))) {
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        // The system's DPI's font, grown or shrunk to this one.
        metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, systemDpi());
    }
    return metrics.lfMessageFont;
}

} // namespace wendle::win32
