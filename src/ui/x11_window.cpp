#include "ui/x11_window.h"

#include "ui/x11_connection.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace wendle {

void clearIconicRequest(const QWidget &window) {
    xcb_connection_t *connection = x11Connection();
    if (!connection || !window.windowHandle() || !window.windowHandle()->handle())
        return;
    const auto id = static_cast<xcb_window_t>(window.winId());
    // WM_HINTS: flags, input, initial_state, then the icon and group fields.
    constexpr std::uint32_t StateHint = 1u << 1;
    constexpr std::uint32_t NormalState = 1;
    const Owned<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(
            connection,
            xcb_get_property(connection, 0, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 0, 9),
            nullptr),
        &std::free);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 12)
        return;
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    std::vector<std::uint32_t> hints(count);
    std::memcpy(hints.data(), xcb_get_property_value(reply.get()), count * 4);
    if ((hints[0] & StateHint) && hints[2] == NormalState)
        return;
    hints[0] |= StateHint;
    hints[2] = NormalState;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS,
                        32, count, hints.data());
    xcb_flush(connection);
}

} // namespace wendle
