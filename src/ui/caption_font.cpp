#include "ui/caption_font.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>

namespace wendle {

namespace {

QSize captionSize(const QWidget *widget, const QFont &font) {
    const QFontMetrics metrics(font);
    auto textSize = [&](const QString &text) {
        // Trailing spaces belong to the caption but need no room to be read.
        return QSize(metrics.horizontalAdvance(
                         QString(text).remove(QRegularExpression(QStringLiteral("\\s+$")))),
                     metrics.height());
    };
    if (auto *label = qobject_cast<const QLabel *>(widget))
        return textSize(label->text());
    if (auto *box = qobject_cast<const QCheckBox *>(widget)) {
        const QStyle *style = box->style();
        const QSize text = textSize(box->text());
        const int indicatorWidth = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box);
        const int spacing = style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box);
        // The style shrinks the box to the row when it must; the text it cannot.
        return QSize(indicatorWidth + spacing + text.width(), text.height());
    }
    if (auto *button = qobject_cast<const QPushButton *>(widget)) {
        const QSize text = textSize(button->text());
        const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        return QSize(text.width() + 2 * margin, text.height() + 4);
    }
    return QSize();
}

} // namespace

bool captionsFit(const QList<QWidget *> &widgets, const QFont &font) {
    for (const QWidget *widget : widgets) {
        const QSize need = captionSize(widget, font);
        if (need.width() > widget->width() || need.height() > widget->height())
            return false;
    }
    return true;
}

QFont fittingCaptionFont(const QList<QWidget *> &widgets, QFont font) {
    constexpr qreal smallest = 6.0;
    qreal size = font.pointSizeF() > 0 ? font.pointSizeF() : 9.0;
    for (; size > smallest; size -= 0.5) {
        font.setPointSizeF(size);
        if (captionsFit(widgets, font))
            return font;
    }
    font.setPointSizeF(smallest);
    return font;
}

} // namespace wendle
