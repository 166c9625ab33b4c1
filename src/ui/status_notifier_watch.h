#pragma once

#include <QObject>

namespace wendle {

// Whether a StatusNotifierItem host (a tray that shows items over D-Bus, such
// as KDE's or GNOME's AppIndicator extension) is registered, found without
// ever waiting for the bus: asked once, then told as the watcher comes and
// goes and as hosts register with it.
class StatusNotifierWatch : public QObject {
    Q_OBJECT

public:
    enum class Host {
        Unknown,      // asked, not answered yet
        Registered,   // a host shows items
        None,         // no watcher, or no host with it
        NotAnswering, // the watcher is there but does not answer
    };

    explicit StatusNotifierWatch(QObject *parent = nullptr);
    ~StatusNotifierWatch() override;

    void start();
    Host host() const { return m_host; }

signals:
    void changed();

private slots:
    void hostRegistered();
    void hostUnregistered();

private:
    void ask();
    void answered(Host host);

    Host m_host = Host::Unknown;
    bool m_started = false;
    bool m_asking = false;
    bool m_askAgain = false;
};

} // namespace wendle
