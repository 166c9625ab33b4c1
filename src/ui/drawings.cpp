#include "ui/drawings.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace wendle {

namespace {

QPointF onDial(QPointF centre, qreal radius, qreal minutes) {
    const qreal angle = qDegreesToRadians(minutes * 6.0 - 90.0);
    return centre + QPointF(radius * qCos(angle), radius * qSin(angle));
}

} // namespace

QImage clockImage(int size, ClockMark mark) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const qreal s = size;
    const QPointF centre(s / 2.0, s / 2.0);
    const qreal radius = s / 2.0 - qMax<qreal>(0.75, s / 32.0);

    p.setPen(QPen(Qt::black, qMax<qreal>(1.0, s / 16.0)));
    p.setBrush(Qt::white);
    p.drawEllipse(centre, radius, radius);

    p.setPen(QPen(Qt::black, qMax<qreal>(1.0, s / 24.0), Qt::SolidLine, Qt::FlatCap));
    for (int hour = 0; hour < 12; ++hour) {
        const qreal inner = hour % 3 == 0 ? radius * 0.68 : radius * 0.8;
        p.drawLine(onDial(centre, inner, hour * 5.0), onDial(centre, radius * 0.92, hour * 5.0));
    }

    // Ten past ten, with the second hand on 35.
    p.setPen(QPen(Qt::black, qMax<qreal>(1.2, s / 12.0), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, onDial(centre, radius * 0.5, 50.0 + 10.0 / 12.0));
    p.setPen(QPen(Qt::black, qMax<qreal>(1.0, s / 18.0), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, onDial(centre, radius * 0.78, 10.0));
    p.setPen(QPen(QColor(220, 0, 0), qMax<qreal>(0.8, s / 32.0), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(onDial(centre, radius * 0.2, 5.0), onDial(centre, radius * 0.85, 35.0));
    const qreal half = s * 0.22;
    const QPointF at(s - half - qMax<qreal>(0.5, s / 32.0), s - half - qMax<qreal>(0.5, s / 32.0));
    if (mark == ClockMark::Logging) {
        // A bluish green that reads for every kind of colour vision, ringed
        // in white so that it stands out on light and dark panels alike.
        p.setPen(QPen(Qt::white, qMax<qreal>(1.0, s / 20.0)));
        p.setBrush(QColor(0, 158, 115));
        p.drawEllipse(at, half, half);
    } else if (mark == ClockMark::Paused) {
        // An orange square, ringed in white likewise, with two dark bars:
        // the sign of a pause, larger than the dot so that its bars show
        // at 16 pixels.
        const qreal side = half * 1.1;
        const qreal ring = qMax<qreal>(1.0, s / 20.0);
        // Its ring inside the picture, in the same corner as the dot.
        const qreal corner = s - side - ring / 2;
        const QRectF square(corner - side, corner - side, 2 * side, 2 * side);
        p.setPen(QPen(Qt::white, ring));
        p.setBrush(QColor(230, 159, 0));
        p.drawRect(square);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 40, 40));
        const qreal bar = qMax<qreal>(1.0, side * 0.45);
        const qreal gap = qMax<qreal>(1.0, side * 0.35);
        const qreal top = square.top() + side * 0.45;
        const qreal height = square.height() - side * 0.9;
        p.drawRect(QRectF(corner - gap / 2 - bar, top, bar, height));
        p.drawRect(QRectF(corner + gap / 2, top, bar, height));
    }
    p.end();
    return image;
}

QImage openFolderImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);

    const QColor outline(96, 96, 96);
    // The back of the folder with its tab.
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(5.5, 3.5);
    back.lineTo(6.5, 4.5);
    back.lineTo(12.5, 4.5);
    back.lineTo(12.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    p.setPen(QPen(outline, 1.0));
    p.setBrush(QColor(192, 192, 192));
    p.drawPath(back);

    // The open front flap, tilted forward.
    QPainterPath front;
    front.moveTo(1.5, 13.5);
    front.lineTo(4.0, 7.5);
    front.lineTo(15.0, 7.5);
    front.lineTo(12.5, 13.5);
    front.closeSubpath();
    p.setBrush(QColor(255, 214, 64));
    p.drawPath(front);
    p.end();
    return image;
}

} // namespace wendle
