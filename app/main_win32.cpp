#include "logging/clock.h"
#include "win32/main_window.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    wendle::SystemClock clock;
    wendle::win32::MainWindow window(instance, clock);
    window.load();
    if (window.isUnloaded())
        return 0;
    window.show();
    return window.run();
}
