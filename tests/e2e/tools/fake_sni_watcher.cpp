// A stand-in for a StatusNotifierItem host such as GNOME's AppIndicator
// extension, on a private session bus. It accepts the tray items that
// register, and clicks an item of the registered item's menu by its label
// whenever a file named on the command line appears holding that label:
//   fake_sni_watcher CLICK-FILE
#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDateTime>
#include <QFile>
#include <QTimer>

#include <cstdio>

class Watcher : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)

public:
    explicit Watcher(QObject *parent) : QDBusAbstractAdaptor(parent) {}
    bool hostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList items() const { return m_items; }
    QString service;

public slots:
    void RegisterStatusNotifierItem(const QString &item, const QDBusMessage &message) {
        // Items give either a bus name or an object path.
        service = item.startsWith('/') ? message.service() : item;
        m_items << service;
        std::printf("registered %s\n", qPrintable(service));
        std::fflush(stdout);
        emit StatusNotifierItemRegistered(service);
    }
    void RegisterStatusNotifierHost(const QString &) {}

signals:
    void StatusNotifierItemRegistered(const QString &service);
    void StatusNotifierHostRegistered();

private:
    QStringList m_items;
};

// The menu's items, id and label, from its layout: (ia{sv}av), nested.
static void collect(const QDBusArgument &layout, QList<QPair<int, QString>> &items) {
    int id = 0;
    QVariantMap properties;
    layout.beginStructure();
    layout >> id >> properties;
    items.append({id, properties.value("label").toString().remove('_')});
    layout.beginArray();
    while (!layout.atEnd()) {
        QDBusVariant child;
        layout >> child;
        collect(child.variant().value<QDBusArgument>(), items);
    }
    layout.endArray();
    layout.endStructure();
}

static void click(const QString &service, const QString &wanted) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusInterface item(service, "/StatusNotifierItem", "org.kde.StatusNotifierItem", bus);
    const QString menuPath = item.property("Menu").value<QDBusObjectPath>().path();
    QDBusInterface menu(service, menuPath, "com.canonical.dbusmenu", bus);
    menu.call("AboutToShow", 0);
    const QDBusMessage reply = menu.call("GetLayout", 0, -1, QStringList{"label"});
    QList<QPair<int, QString>> items;
    if (reply.type() == QDBusMessage::ReplyMessage && reply.arguments().size() == 2)
        collect(reply.arguments().at(1).value<QDBusArgument>(), items);
    for (const auto &[id, label] : items) {
        if (label != wanted)
            continue;
        menu.call("Event", id, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(0)),
                  uint(QDateTime::currentSecsSinceEpoch()));
        std::printf("clicked %s\n", qPrintable(label));
        std::fflush(stdout);
        return;
    }
    std::printf("no menu item %s\n", qPrintable(wanted));
    std::fflush(stdout);
}

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const QString clickFile = QString::fromLocal8Bit(argv[1]);
    QObject root;
    auto *watcher = new Watcher(&root);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject("/StatusNotifierWatcher", &root) ||
        !bus.registerService("org.kde.StatusNotifierWatcher")) {
        std::fprintf(stderr, "fake_sni_watcher: cannot take the watcher's name\n");
        return 1;
    }
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QFile file(clickFile);
        if (!file.exists() || watcher->service.isEmpty() || !file.open(QIODevice::ReadOnly))
            return;
        const QString label = QString::fromUtf8(file.readAll()).trimmed();
        file.remove();
        click(watcher->service, label);
    });
    poll.start(100);
    return app.exec();
}

#include "fake_sni_watcher.moc"
