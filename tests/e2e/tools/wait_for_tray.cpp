// Exits 0 as soon as the X display has a system tray (an owner of the
// _NET_SYSTEM_TRAY_S<n> selection), 1 when none appears in time.

#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

int main(int argc, char *argv[]) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 20.0;
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "wait_for_tray: cannot open the display\n");
        return 1;
    }
    const std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(display));
    const Atom selection = XInternAtom(display, name.c_str(), False);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (XGetSelectionOwner(display, selection) != None) {
            XCloseDisplay(display);
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    XCloseDisplay(display);
    std::fprintf(stderr, "wait_for_tray: no system tray after %.0f s\n", seconds);
    return 1;
}
