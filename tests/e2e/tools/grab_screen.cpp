// Saves a picture of the X screen (or of one window, given its id) as PNG.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char *argv[]) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: grab_screen FILE.png [WINDOW-ID]\n");
        return 2;
    }
    const WId window = argc > 2 ? QByteArray(argv[2]).toULongLong(nullptr, 0) : 0;
    const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(window);
    return picture.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
