#include "display_check.h"

#include <QtGlobal>

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
