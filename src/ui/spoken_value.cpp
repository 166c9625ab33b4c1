#include "ui/spoken_value.h"

#include <QAbstractSlider>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QVariant>

namespace wendle {

namespace {

const char *const WordsProperty = "wendleSpokenValue";

class SliderInWords final : public QAccessibleWidget,
                            public QAccessibleValueInterface,
                            public QAccessibleTextInterface {
public:
    explicit SliderInWords(QAbstractSlider *slider)
        : QAccessibleWidget(slider, QAccessible::SpinBox) {}

    void *interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? words() : QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override { return slider()->value(); }
    void setCurrentValue(const QVariant &value) override { slider()->setValue(value.toInt()); }
    QVariant maximumValue() const override { return slider()->maximum(); }
    QVariant minimumValue() const override { return slider()->minimum(); }
    QVariant minimumStepSize() const override { return slider()->singleStep(); }

    // The words as read-only text with no caret or selection of its own.
    void selection(int, int *startOffset, int *endOffset) const override {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override {
        const QString all = words();
        if (endOffset < 0 || endOffset > all.size())
            endOffset = int(all.size());
        startOffset = qBound(0, startOffset, endOffset);
        return all.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(words().size()); }
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *startOffset, int *endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return QString();
    }

private:
    QAbstractSlider *slider() const { return static_cast<QAbstractSlider *>(widget()); }
    QString words() const { return slider()->property(WordsProperty).toString(); }
};

QAccessibleInterface *sliderInWords(const QString &, QObject *object) {
    auto *slider = qobject_cast<QAbstractSlider *>(object);
    return slider && slider->property(WordsProperty).isValid() ? new SliderInWords(slider)
                                                               : nullptr;
}

} // namespace

void setSpokenValue(QAbstractSlider *slider, const QString &words) {
    // Qt installs a factory once, however often it is given.
    QAccessible::installFactory(sliderInWords);
    slider->setProperty(WordsProperty, words);
}

} // namespace wendle
