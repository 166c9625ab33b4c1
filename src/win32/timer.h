#pragma once

#include "logging/timer.h"

#include <windows.h>

#include <algorithm>

namespace wendle::win32 {

// The logging timer as a window timer: its WM_TIMER comes to the window,
// which passes it on through fire().
class WindowTimer final : public Timer {
public:
    static constexpr UINT_PTR Id = 1;

    void attach(HWND window) { m_window = window; }
    // A window timer repeats: it is one shot here.
    void fire() {
        stop();
        timeout();
    }

    void startIn(int delayMilliseconds) override {
        m_active = SetTimer(m_window, Id, UINT(std::max(USER_TIMER_MINIMUM, delayMilliseconds)),
                            nullptr) != 0;
    }
    void stop() override {
        if (m_active)
            KillTimer(m_window, Id);
        m_active = false;
    }
    bool isActive() const override { return m_active; }

private:
    HWND m_window = nullptr;
    bool m_active = false;
};

} // namespace wendle::win32
