#pragma once

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace wendle {

// The X server connection Qt made, or null off X11 (Wayland, offscreen).
inline xcb_connection_t *x11Connection() {
    const auto *x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// An xcb reply, freed as xcb asks.
template <typename Reply> using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

} // namespace wendle
