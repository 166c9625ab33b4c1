#pragma once

#include "logging/timer.h"

#include <windows.h>

namespace wendle::win32 {

// The logging timer as a window timer: its WM_TIMER comes to the window,
// which passes it on through fire().
class WindowTimer final : public Timer {
public:
    static constexpr UINT_PTR Id = 1;

    void attach(HWND window) { m_window = window; }
    void fire() { timeout(); }

    void start() override { m_active = SetTimer(m_window, Id, UINT(m_interval), nullptr) != 0; }
    void stop() override {
        if (m_active)
            KillTimer(m_window, Id);
        m_active = false;
    }
    bool isActive() const override { return m_active; }
    // Setting a running timer again restarts it with the new interval.
    void setInterval(int milliseconds) override {
        m_interval = milliseconds;
        if (m_active)
            SetTimer(m_window, Id, UINT(m_interval), nullptr);
    }
    int interval() const override { return m_interval; }

private:
    HWND m_window = nullptr;
    bool m_active = false;
    int m_interval = 0;
};

} // namespace wendle::win32
