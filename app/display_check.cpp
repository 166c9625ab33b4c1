#include "display_check.h"

#include <QtGlobal>

#include <cstring>

QString missingDisplayMessage(const QString &program) {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb") && !platform.startsWith("wayland"))
        return QString(); // offscreen, vnc, ...: no display server needed
    if (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return QString();
    return QStringLiteral(
               "wendle: no graphical display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
               "Wendle is a desktop program: start it from a desktop session, or under a virtual\n"
               "display such as 'xvfb-run -a %1'.")
        .arg(program);
}

QString preferredPlatform(int argc, char *argv[]) {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return QString();
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0 ||
            std::strncmp(argv[i], "-platform=", 10) == 0)
            return QString();
    const bool wayland =
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == "wayland";
    if (wayland && !qEnvironmentVariableIsEmpty("DISPLAY"))
        return QStringLiteral("xcb");
    return QString();
}
