// The yardstick for start-up time and memory: the least a Qt 6 Widgets
// program needs to show a window.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal Qt Window"));
    window.resize(267, 339);
    window.show();
    return QApplication::exec();
}
