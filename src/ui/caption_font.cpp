#include "ui/caption_font.h"

#include "form/caption_fit.h"
#include "ui/qt_text.h"

#include <QFontMetrics>
#include <QStyle>
#include <QWidget>

namespace wendle {

namespace {

class QtCaptionMeasure final : public form::CaptionMeasure {
public:
    QtCaptionMeasure(const QWidget &window, QFont font) : m_window(window), m_font(font) {}

    form::PixelSize textSize(std::string_view text, double fontSize) override {
        m_font.setPointSizeF(fontSize);
        const QFontMetrics metrics(m_font);
        return {metrics.horizontalAdvance(qt(std::string(text))), metrics.height()};
    }
    form::PixelSize around(form::CaptionKind kind) override {
        const QStyle *style = m_window.style();
        switch (kind) {
        case form::CaptionKind::CheckBox:
            // The style shrinks the box to the row when it must; the text it cannot.
            return {style->pixelMetric(QStyle::PM_IndicatorWidth) +
                        style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing),
                    0};
        case form::CaptionKind::Button:
            return {2 * style->pixelMetric(QStyle::PM_ButtonMargin), 4};
        case form::CaptionKind::Label:
            break;
        }
        return {};
    }
    form::PixelSize room(const form::ControlPlace &place) override {
        const auto *widget = m_window.findChild<const QWidget *>(qt(std::string(place.name)));
        return widget ? form::PixelSize{widget->width(), widget->height()} : form::PixelSize{};
    }

private:
    const QWidget &m_window;
    QFont m_font;
};

double pointSize(const QFont &font) {
    return font.pointSizeF() > 0 ? font.pointSizeF() : 9.0;
}

} // namespace

bool captionsFit(const QWidget &window, const QFont &font) {
    QtCaptionMeasure measure(window, font);
    return form::captionsFit(measure, pointSize(font));
}

QFont fittingCaptionFont(const QWidget &window, QFont font) {
    QtCaptionMeasure measure(window, font);
    font.setPointSizeF(form::fittingCaptionSize(measure, pointSize(font), 6.0, 0.5));
    return font;
}

} // namespace wendle
