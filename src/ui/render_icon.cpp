// Writes the program's pictures to files, so that the installed icons and the
// Windows program's resources are the very pictures the running program shows:
//   render_icon SIZE OUT.png           the clock icon as a PNG
//   render_icon clock|logging|paused|folder OUT.ico   a Windows icon file (clock: 16, 32, 48 px)
//   render_icon pixels OUT.cpp         the pixels the Linux program shows
#include "ui/drawings.h"

#include <QFile>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace {

void put16(QByteArray &out, int value) {
    out.append(char(value & 0xFF)).append(char((value >> 8) & 0xFF));
}
void put32(QByteArray &out, quint32 value) {
    put16(out, int(value & 0xFFFF));
    put16(out, int(value >> 16));
}

// One icon image as Windows keeps it: a 32-bit bottom-up bitmap with alpha,
// then the 1-bit mask (set where the picture is transparent).
QByteArray iconImage(const QImage &picture) {
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const int size = image.width();
    QByteArray out;
    put32(out, 40);
    put32(out, quint32(size));
    put32(out, quint32(size * 2)); // the picture and its mask
    put16(out, 1);
    put16(out, 32);
    for (int i = 0; i < 6; ++i)
        put32(out, 0);
    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; ++x)
            put32(out, image.pixel(x, y));
    const int maskRow = ((size + 31) / 32) * 4;
    for (int y = size - 1; y >= 0; --y) {
        QByteArray row(maskRow, '\0');
        for (int x = 0; x < size; ++x)
            if (qAlpha(image.pixel(x, y)) < 128)
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        out.append(row);
    }
    return out;
}

bool writeIco(const QList<QImage> &images, const QString &path) {
    QByteArray header;
    put16(header, 0);
    put16(header, 1); // an icon
    put16(header, int(images.size()));
    QByteArray data;
    quint32 offset = 6 + 16 * quint32(images.size());
    for (const QImage &image : images) {
        const QByteArray bits = iconImage(image);
        header.append(char(image.width() % 256)).append(char(image.height() % 256));
        header.append('\0').append('\0'); // no palette
        put16(header, 1);
        put16(header, 32);
        put32(header, quint32(bits.size()));
        put32(header, offset);
        offset += quint32(bits.size());
        data.append(bits);
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(header + data) == header.size() + data.size();
}

void writePixels(QTextStream &out, const QString &name, const QImage &image) {
    out << "const std::uint32_t " << name << "[] = {";
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const quint32 *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            out << ((x % 8) ? " " : "\n    ") << "0x" << QString::number(row[x], 16) << "u,";
    }
    out << "\n};\n";
}

bool writeSource(const QString &path) {
    constexpr int clockSizes[] = {16, 24, 32, 48, 64};
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream out(&file);
    out << "// Made by render_icon from the program's drawings.\n"
           "#include \"ui/picture_pixels.h\"\n\n"
           "namespace wendle::pixels {\n\nnamespace {\n";
    for (int size : clockSizes)
        writePixels(out, QStringLiteral("clock%1").arg(size),
                    wendle::clockImage(size).convertToFormat(QImage::Format_ARGB32_Premultiplied));
    for (int size : clockSizes)
        writePixels(
            out, QStringLiteral("logging%1").arg(size),
            wendle::clockImage(size, true).convertToFormat(QImage::Format_ARGB32_Premultiplied));
    for (int size : clockSizes)
        writePixels(out, QStringLiteral("paused%1").arg(size),
                    wendle::clockImage(size, wendle::ClockMark::Paused)
                        .convertToFormat(QImage::Format_ARGB32_Premultiplied));
    writePixels(out, QStringLiteral("folder16"), wendle::openFolderImage(16));
    out << "} // namespace\n\nconst StoredPicture Clock[] = {";
    for (int size : clockSizes)
        out << "{" << size << ", clock" << size << "}, ";
    out << "};\nconst StoredPicture LoggingClock[] = {";
    for (int size : clockSizes)
        out << "{" << size << ", logging" << size << "}, ";
    out << "};\nconst StoredPicture PausedClock[] = {";
    for (int size : clockSizes)
        out << "{" << size << ", paused" << size << "}, ";
    out << "};\nconst std::size_t ClockCount = " << std::size(clockSizes)
        << ";\nconst StoredPicture OpenFolder = {16, folder16};\n\n} // namespace wendle::pixels\n";
    out.flush();
    return out.status() == QTextStream::Ok && file.flush();
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc != 3) {
        std::fprintf(
            stderr,
            "usage: render_icon SIZE OUT.png | render_icon clock|logging|paused|folder OUT.ico | "
            "render_icon pixels OUT.cpp\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[2]);
    if (std::strcmp(argv[1], "clock") == 0)
        return writeIco({wendle::clockImage(16), wendle::clockImage(32), wendle::clockImage(48)},
                        out)
                   ? 0
                   : 1;
    if (std::strcmp(argv[1], "logging") == 0)
        return writeIco({wendle::clockImage(16, true), wendle::clockImage(32, true)}, out) ? 0 : 1;
    if (std::strcmp(argv[1], "paused") == 0)
        return writeIco({wendle::clockImage(16, wendle::ClockMark::Paused),
                         wendle::clockImage(32, wendle::ClockMark::Paused)},
                        out)
                   ? 0
                   : 1;
    if (std::strcmp(argv[1], "folder") == 0)
        return writeIco({wendle::openFolderImage(16)}, out) ? 0 : 1;
    if (std::strcmp(argv[1], "pixels") == 0)
        return writeSource(out) ? 0 : 1;
    const int size = std::atoi(argv[1]);
    return size > 0 && wendle::clockImage(size).save(out, "PNG") ? 0 : 1;
}
