#pragma once

#include <windows.h>

namespace wendle::win32 {

// The window procedure of a class whose objects own their window, the object
// being passed to CreateWindowExW: it is told its window's handle first
// (windowReady) and then gets every message (onMessage).
template <typename Owner>
LRESULT CALLBACK windowProcOf(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto *owner =
            static_cast<Owner *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        owner->windowReady(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
    auto *owner = reinterpret_cast<Owner *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return owner ? owner->onMessage(message, wParam, lParam)
                 : DefWindowProcW(window, message, wParam, lParam);
}

} // namespace wendle::win32
