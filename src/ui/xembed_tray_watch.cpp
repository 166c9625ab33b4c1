#include "ui/xembed_tray_watch.h"

#include "ui/x11_connection.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace wendle {

namespace {

// The X screen the program's windows are on: the display name's, as Qt
// connects to it (":0.1" is screen 1).
int screenNumber(xcb_connection_t *connection) {
    char *host = nullptr;
    int display = 0;
    int screen = 0;
    if (!xcb_parse_display(nullptr, &host, &display, &screen))
        return 0;
    std::free(host);
    const int screens = xcb_setup_roots_length(xcb_get_setup(connection));
    return screen >= 0 && screen < screens ? screen : 0;
}

xcb_atom_t atomOf(xcb_connection_t *connection, unsigned cookie) {
    const Owned<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom_cookie_t{cookie}, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

} // namespace

XembedTrayWatch::XembedTrayWatch(QObject *parent) : QObject(parent) {}

XembedTrayWatch::~XembedTrayWatch() {
    if (m_filtering && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
    // Replies never collected would stay queued in the connection.
    if (xcb_connection_t *connection = x11Connection()) {
        if (m_selectionCookie)
            xcb_discard_reply(connection, m_selectionCookie);
        if (m_managerCookie)
            xcb_discard_reply(connection, m_managerCookie);
    }
}

void XembedTrayWatch::start() {
    if (m_started)
        return;
    m_started = true;
    if (xcb_connection_t *connection = x11Connection()) {
        // A tray owns the selection named after the screen it serves. Both
        // names are sent now, their answers read when first needed.
        const QByteArray name = "_NET_SYSTEM_TRAY_S" + QByteArray::number(screenNumber(connection));
        m_selectionCookie =
            xcb_intern_atom(connection, 0, uint16_t(name.size()), name.constData()).sequence;
        m_managerCookie = xcb_intern_atom(connection, 0, 7, "MANAGER").sequence;
        xcb_flush(connection);
        // Qt already selects the root window's structure events, which carry
        // MANAGER; this sees them before Qt does.
        QCoreApplication::instance()->installNativeEventFilter(this);
        m_filtering = true;
    }
    QTimer::singleShot(0, this, &XembedTrayWatch::ask);
}

bool XembedTrayWatch::atomsKnown() {
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return false;
    if (m_selectionCookie) {
        m_selection = atomOf(connection, m_selectionCookie);
        m_selectionCookie = 0;
    }
    if (m_managerCookie) {
        m_manager = atomOf(connection, m_managerCookie);
        m_managerCookie = 0;
    }
    return m_selection != XCB_ATOM_NONE && m_manager != XCB_ATOM_NONE;
}

void XembedTrayWatch::ask() {
    xcb_connection_t *connection = x11Connection();
    if (!connection || !atomsKnown()) {
        found(false);
        return;
    }
    // One round trip, with the window already on its way; again only when
    // a tray has gone, as another may have taken its place.
    const Owned<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, m_selection),
                                      nullptr),
        &std::free);
    if (owner && owner->owner != XCB_WINDOW_NONE)
        watchOwner(owner->owner);
    found(m_owner != 0);
}

void XembedTrayWatch::watchOwner(std::uint32_t window) {
    if (window == m_owner)
        return;
    m_owner = window;
    xcb_connection_t *connection = x11Connection();
    const std::uint32_t events = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    // Only this program's own interest in the tray's window changes.
    xcb_change_window_attributes(connection, window, XCB_CW_EVENT_MASK, &events);
    xcb_flush(connection);
}

void XembedTrayWatch::found(bool present) {
    if (m_known && m_present == present)
        return;
    m_known = true;
    m_present = present;
    emit changed();
}

bool XembedTrayWatch::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) {
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7F) == XCB_DESTROY_NOTIFY) {
        if (m_owner != 0 &&
            static_cast<const xcb_destroy_notify_event_t *>(message)->window == m_owner) {
            m_owner = 0;
            ask();
        }
        return false;
    }
    if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE)
        return false;
    const auto *client = static_cast<const xcb_client_message_event_t *>(message);
    // MANAGER: time, the selection now owned, its owner's window.
    if (client->format == 32 && atomsKnown() && client->type == m_manager &&
        client->data.data32[1] == m_selection) {
        watchOwner(client->data.data32[2]);
        found(true);
    }
    // Qt follows the new tray too, to embed its icons there.
    return false;
}

} // namespace wendle
