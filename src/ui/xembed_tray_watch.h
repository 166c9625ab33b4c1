#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <cstdint>

namespace wendle {

// Whether an X11 system tray (the XEmbed kind) serves the program's X screen,
// found without a poll: asked once, then told by the tray itself, which
// announces its start with a MANAGER message on the root window, and by the
// X server when the tray's window is destroyed (a panel that quits or
// crashes). Off X11 there is never one.
class XembedTrayWatch : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    explicit XembedTrayWatch(QObject *parent = nullptr);
    ~XembedTrayWatch() override;

    // Asks the X server once the event loop runs (after the window has
    // been asked to show); the answer, and any later tray, come by changed().
    void start();
    bool known() const { return m_known; }
    bool present() const { return m_present; }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

signals:
    void changed();

private:
    void ask();
    bool atomsKnown();
    void found(bool present);
    // The tray's window, whose end the X server tells.
    void watchOwner(std::uint32_t window);

    bool m_started = false;
    bool m_known = false;
    bool m_present = false;
    unsigned m_selectionCookie = 0;
    unsigned m_managerCookie = 0;
    std::uint32_t m_selection = 0;
    std::uint32_t m_manager = 0;
    std::uint32_t m_owner = 0;
    bool m_filtering = false;
};

} // namespace wendle
