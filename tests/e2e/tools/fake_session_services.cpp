// Stand-ins for what tells a program that its session is locked, switched
// away or asleep, on the test's own buses: org.freedesktop.ScreenSaver under
// its name, GNOME Shell's org.gnome.ScreenSaver signals under a name of
// their own (as the shell sends them), and logind (org.freedesktop.login1)
// on the bus given as the system bus, with session "_1" for every caller.
// Commands come one a line on standard input; each is answered "done CMD":
//   lock | unlock          all of them at once, each lock twice as some
//                          logind builds do; unlock as a locker does it,
//                          without logind's Unlock
//   fd-lock | fd-unlock    org.freedesktop.ScreenSaver alone
//   gnome-lock | gnome-unlock
//   logind-lock | logind-unlock   Lock and LockedHint, Unlock and LockedHint
//   sleep | wake           PrepareForSleep
//   away | back            the session's Active property
// What is asked is told as "asked MEMBER".
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QSocketNotifier>

#include <cstdio>
#include <iostream>
#include <string>

namespace {

const QString SessionPath = QStringLiteral("/org/freedesktop/login1/session/_1");
const QString SessionInterface = QStringLiteral("org.freedesktop.login1.Session");

void say(const QString &text) {
    std::printf("%s\n", qPrintable(text));
    std::fflush(stdout);
}

struct State {
    bool screenSaver = false;
    bool gnome = false;
    bool lockedHint = false;
    bool active = true;
};
State state;

class Answers final : public QDBusVirtualObject {
public:
    QString introspect(const QString &) const override { return QString(); }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &bus) override {
        if (message.type() != QDBusMessage::MethodCallMessage)
            return false;
        const QString member = message.member();
        say(QStringLiteral("asked ") + member);
        QDBusMessage reply;
        if (member == QLatin1String("GetActive"))
            reply = message.createReply(
                message.path().contains(QLatin1String("gnome")) ? state.gnome : state.screenSaver);
        else if (member == QLatin1String("GetSession") ||
                 member == QLatin1String("GetSessionByPID"))
            reply = message.createReply(QVariant::fromValue(QDBusObjectPath(SessionPath)));
        else if (member == QLatin1String("GetAll"))
            reply = message.createReply(
                QVariant::fromValue(QVariantMap{{QStringLiteral("LockedHint"), state.lockedHint},
                                                {QStringLiteral("Active"), state.active}}));
        else
            reply = message.createErrorReply(
                QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"), member);
        bus.send(reply);
        return true;
    }
};

void signal(const QDBusConnection &bus, const QString &path, const QString &interface,
            const QString &name, const QVariantList &arguments = {}) {
    QDBusMessage message = QDBusMessage::createSignal(path, interface, name);
    message.setArguments(arguments);
    bus.send(message);
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QDBusConnection session = QDBusConnection::sessionBus();
    // GNOME Shell's signals come from a connection that does not own
    // org.gnome.ScreenSaver.
    QDBusConnection shell =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("shell"));
    QDBusConnection system = QDBusConnection::systemBus();
    Answers answers;
    if (!session.registerService(QStringLiteral("org.freedesktop.ScreenSaver")) ||
        !session.registerVirtualObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &answers) ||
        !shell.registerVirtualObject(QStringLiteral("/org/gnome/ScreenSaver"), &answers) ||
        !system.registerService(QStringLiteral("org.freedesktop.login1")) ||
        !system.registerVirtualObject(QStringLiteral("/org/freedesktop/login1"), &answers,
                                      QDBusConnection::SubPath)) {
        say(QStringLiteral("cannot register"));
        return 1;
    }
    const auto screenSaver = [&](bool active) {
        state.screenSaver = active;
        signal(session, QStringLiteral("/org/freedesktop/ScreenSaver"),
               QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("ActiveChanged"),
               {active});
    };
    const auto gnome = [&](bool active) {
        state.gnome = active;
        signal(shell, QStringLiteral("/org/gnome/ScreenSaver"),
               QStringLiteral("org.gnome.ScreenSaver"), QStringLiteral("ActiveChanged"), {active});
    };
    const auto property = [&](const QString &name, bool value) {
        signal(system, SessionPath, QStringLiteral("org.freedesktop.DBus.Properties"),
               QStringLiteral("PropertiesChanged"),
               {SessionInterface, QVariant::fromValue(QVariantMap{{name, value}}), QStringList()});
    };
    const auto logind = [&](bool locked) {
        if (locked)
            signal(system, SessionPath, SessionInterface, QStringLiteral("Lock"));
        state.lockedHint = locked;
        property(QStringLiteral("LockedHint"), locked);
    };
    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        std::string line;
        if (!std::getline(std::cin, line)) {
            app.quit();
            return;
        }
        const QString command = QString::fromStdString(line).trimmed();
        const bool on =
            command.endsWith(QLatin1String("lock")) && !command.endsWith(QLatin1String("unlock"));
        if (command == QLatin1String("lock") || command == QLatin1String("unlock")) {
            for (int twice = 0; twice < (on ? 2 : 1); ++twice) {
                screenSaver(on);
                gnome(on);
                logind(on);
            }
        } else if (command.startsWith(QLatin1String("fd-"))) {
            screenSaver(on);
        } else if (command.startsWith(QLatin1String("gnome-"))) {
            gnome(on);
        } else if (command == QLatin1String("logind-lock")) {
            logind(true);
        } else if (command == QLatin1String("logind-unlock")) {
            signal(system, SessionPath, SessionInterface, QStringLiteral("Unlock"));
            logind(false);
        } else if (command == QLatin1String("logind-restart")) {
            // Another connection, so another unique name; the session was
            // locked while it was away, which only asking it tells.
            system.unregisterObject(QStringLiteral("/org/freedesktop/login1"));
            system.unregisterService(QStringLiteral("org.freedesktop.login1"));
            system = QDBusConnection::connectToBus(QDBusConnection::SystemBus,
                                                   QStringLiteral("restarted logind"));
            state.lockedHint = true;
            system.registerService(QStringLiteral("org.freedesktop.login1"));
            system.registerVirtualObject(QStringLiteral("/org/freedesktop/login1"), &answers,
                                         QDBusConnection::SubPath);
        } else if (command == QLatin1String("sleep") || command == QLatin1String("wake")) {
            signal(system, QStringLiteral("/org/freedesktop/login1"),
                   QStringLiteral("org.freedesktop.login1.Manager"),
                   QStringLiteral("PrepareForSleep"), {command == QLatin1String("sleep")});
        } else if (command == QLatin1String("away") || command == QLatin1String("back")) {
            state.active = command == QLatin1String("back");
            property(QStringLiteral("Active"), state.active);
        } else {
            say(QStringLiteral("unknown ") + command);
            return;
        }
        say(QStringLiteral("done ") + command);
    });
    say(QStringLiteral("ready"));
    return app.exec();
}
