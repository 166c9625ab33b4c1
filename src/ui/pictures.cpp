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

} // namespace

QIcon clockIcon() {
    static const QIcon icon = [] {
        QIcon made;
        for (std::size_t i = 0; i < pixels::ClockCount; ++i)
            made.addPixmap(pixmapOf(pixels::Clock[i]));
        return made;
    }();
    return icon;
}

QPixmap openFolderPixmap() {
    return pixmapOf(pixels::OpenFolder);
}

} // namespace wendle
