// A stand-in for an XEmbed system tray (a panel's notification area): owns
// the screen's _NET_SYSTEM_TRAY_S<n> selection, announces itself with the
// MANAGER message on the root window as a tray does, and takes in the icons
// that ask to dock, until it is ended: its window then goes with it, as a
// panel's does when the panel quits or crashes.
#include <X11/Xlib.h>

#include <cstdio>
#include <string>

// An icon's window may be gone by the time it is taken in (Qt makes its
// icon's window again as it settles): a tray lives on, as panels do.
int ignoreError(Display *, XErrorEvent *error) {
    std::fprintf(stderr, "fake_xembed_tray: X error %d ignored\n", error->error_code);
    return 0;
}

int main() {
    XSetErrorHandler(ignoreError);
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "fake_xembed_tray: cannot open the display\n");
        return 1;
    }
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    const std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(screen);
    const Atom selection = XInternAtom(display, name.c_str(), False);
    const Atom opcode = XInternAtom(display, "_NET_SYSTEM_TRAY_OPCODE", False);
    const Window tray = XCreateSimpleWindow(display, root, 0, 0, 64, 24, 0, 0, 0);
    XSetSelectionOwner(display, selection, tray, CurrentTime);
    if (XGetSelectionOwner(display, selection) != tray) {
        std::fprintf(stderr, "fake_xembed_tray: another tray owns %s\n", name.c_str());
        return 1;
    }
    XEvent manager{};
    manager.xclient.type = ClientMessage;
    manager.xclient.window = root;
    manager.xclient.message_type = XInternAtom(display, "MANAGER", False);
    manager.xclient.format = 32;
    manager.xclient.data.l[0] = CurrentTime;
    manager.xclient.data.l[1] = static_cast<long>(selection);
    manager.xclient.data.l[2] = static_cast<long>(tray);
    XSendEvent(display, root, False, StructureNotifyMask, &manager);
    XFlush(display);
    std::printf("tray %lu\n", tray);
    std::fflush(stdout);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        // SYSTEM_TRAY_REQUEST_DOCK (0): the icon's window in data.l[2].
        if (event.type == ClientMessage && event.xclient.message_type == opcode &&
            event.xclient.data.l[1] == 0) {
            const Window icon = static_cast<Window>(event.xclient.data.l[2]);
            XReparentWindow(display, icon, tray, 0, 0);
            XMapWindow(display, icon);
            XFlush(display);
            std::printf("docked %lu\n", icon);
            std::fflush(stdout);
        }
    }
}
