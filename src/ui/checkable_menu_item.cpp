#include "ui/checkable_menu_item.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QMenu>
#include <QPointer>

namespace wendle {

namespace {

class CheckableMenuItem final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    explicit CheckableMenuItem(QAction *action) : m_action(action) {}

    bool isValid() const override { return m_action && menu(); }
    QObject *object() const override { return m_action; }
    QWindow *window() const override { return menu() ? menu()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override {
        return QAccessible::queryAccessibleInterface(menu());
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *focusChild() const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name || !m_action)
            return QString();
        QString name = m_action->text();
        return name.remove(QLatin1Char('&'));
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override {
        const QMenu *shown = menu();
        if (!shown)
            return QRect();
        const QRect place = shown->actionGeometry(m_action);
        return QRect(shown->mapToGlobal(place.topLeft()), place.size());
    }
    QAccessible::Role role() const override { return QAccessible::CheckBox; }
    QAccessible::State state() const override {
        QAccessible::State s;
        const QMenu *shown = menu();
        s.invisible = !shown || !shown->isVisible();
        s.disabled = !m_action || !m_action->isEnabled();
        s.focusable = true;
        s.focused = shown && shown->activeAction() == m_action;
        s.checkable = true;
        s.checked = m_action && m_action->isChecked();
        return s;
    }
    void *interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface
                   ? static_cast<QAccessibleActionInterface *>(this)
                   : nullptr;
    }

    QStringList actionNames() const override { return {toggleAction()}; }
    void doAction(const QString &name) override {
        if (name == toggleAction() && m_action)
            m_action->trigger();
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    // The menu showing the action now (the same action may be in several).
    QMenu *menu() const {
        if (!m_action)
            return nullptr;
        QMenu *any = nullptr;
        for (QObject *owner : m_action->associatedObjects())
            if (auto *menu = qobject_cast<QMenu *>(owner)) {
                if (menu->isVisible())
                    return menu;
                any = menu;
            }
        return any;
    }

    QPointer<QAction> m_action;
};

QAccessibleInterface *checkableMenuItem(const QString &, QObject *object) {
    auto *action = qobject_cast<QAction *>(object);
    if (!action || !action->isCheckable())
        return nullptr;
    return new CheckableMenuItem(action);
}

} // namespace

void readCheckableMenuItemsAsCheckBoxes() {
    static const bool installed = [] {
        QAccessible::installFactory(checkableMenuItem);
        return true;
    }();
    (void)installed;
}

} // namespace wendle
