#include "ui/pictures.h"

#include "ui/picture_pixels.h"

#include <QImage>

namespace wendle {

namespace {

QPixmap pixmapOf(const pixels::StoredPicture &picture) {
    const QImage image(reinterpret_cast<const uchar *>(picture.pixels), picture.size, picture.size,
                       QImage::Format_ARGB32_Premultiplied);
    return QPixmap::fromImage(image);
}

QIcon iconOf(const pixels::StoredPicture *pictures) {
    QIcon made;
    for (std::size_t i = 0; i < pixels::ClockCount; ++i)
        made.addPixmap(pixmapOf(pictures[i]));
    return made;
}

} // namespace

QIcon clockIcon() {
    static const QIcon icon = iconOf(pixels::Clock);
    return icon;
}

QIcon loggingClockIcon() {
    static const QIcon icon = iconOf(pixels::LoggingClock);
    return icon;
}

QIcon pausedClockIcon() {
    static const QIcon icon = iconOf(pixels::PausedClock);
    return icon;
}

QPixmap openFolderPixmap() {
    return pixmapOf(pixels::OpenFolder);
}

} // namespace wendle
