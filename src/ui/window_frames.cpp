#include "ui/window_frames.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace wendle {

namespace {

// Asked class by class from the most derived: a dialog or a menu has had its
// own reading before its class chain comes down to QWidget.
QAccessibleInterface *windowAsFrame(const QString &className, QObject *object) {
    if (className != QLatin1String("QWidget") || !object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    return widget->isWindow() ? new QAccessibleWidget(widget, QAccessible::Window) : nullptr;
}

} // namespace

void readWindowsAsFrames() {
    // Qt installs a factory once, however often it is given.
    QAccessible::installFactory(windowAsFrame);
}

} // namespace wendle
