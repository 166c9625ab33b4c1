#include "ui/checkable_menu_item.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleWidget>
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QPointer>

namespace wendle {

namespace {

// The menu showing the action now (the same action may be in several).
QMenu *menuOf(const QAction *action) {
    if (!action)
        return nullptr;
    QMenu *any = nullptr;
    for (QObject *owner : action->associatedObjects())
        if (auto *menu = qobject_cast<QMenu *>(owner)) {
            if (menu->isVisible())
                return menu;
            any = menu;
        }
    return any;
}

// "&Report…" is read "Report…"; "&&" is one "&".
QString withoutMnemonic(QString text) {
    for (qsizetype at = text.indexOf(QLatin1Char('&')); at >= 0 && at < text.size();
         at = text.indexOf(QLatin1Char('&'), at + 1))
        text.remove(at, 1);
    return text;
}

// One entry of a menu. A checkable one is read as a check box, ticked or
// not; Qt's own entry is a plain item whose state is heard only when
// checked, and Qt's menu would not count a check box among its entries.
class MenuEntry final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    explicit MenuEntry(QAction *action) : m_action(action) {}

    bool isValid() const override { return m_action && menuOf(m_action); }
    QObject *object() const override { return m_action; }
    QWindow *window() const override {
        const QMenu *menu = menuOf(m_action);
        return menu ? menu->windowHandle() : nullptr;
    }
    QAccessibleInterface *parent() const override {
        return QAccessible::queryAccessibleInterface(menuOf(m_action));
    }
    QAccessibleInterface *child(int index) const override {
        return index == 0 && m_action && m_action->menu()
                   ? QAccessible::queryAccessibleInterface(m_action->menu())
                   : nullptr;
    }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    int childCount() const override { return m_action && m_action->menu() ? 1 : 0; }
    int indexOfChild(const QAccessibleInterface *child) const override {
        return child && m_action && child->object() == m_action->menu() ? 0 : -1;
    }

    QString text(QAccessible::Text t) const override {
        if (!m_action)
            return QString();
        if (t == QAccessible::Name)
            return withoutMnemonic(m_action->text());
        if (t == QAccessible::Accelerator)
            return m_action->shortcut().toString(QKeySequence::NativeText);
        return QString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override {
        const QMenu *menu = menuOf(m_action);
        if (!menu)
            return QRect();
        const QRect place = menu->actionGeometry(m_action);
        return QRect(menu->mapToGlobal(place.topLeft()), place.size());
    }
    QAccessible::Role role() const override {
        if (m_action && m_action->isSeparator())
            return QAccessible::Separator;
        return m_action && m_action->isCheckable() ? QAccessible::CheckBox : QAccessible::MenuItem;
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        const QMenu *menu = menuOf(m_action);
        s.invisible = !menu || !menu->isVisible() || !m_action->isVisible();
        s.disabled = !m_action || !m_action->isEnabled() || m_action->isSeparator();
        s.focusable = m_action && !m_action->isSeparator();
        s.focused = menu && menu->activeAction() == m_action;
        if (m_action && m_action->isCheckable()) {
            s.checkable = true;
            s.checked = m_action->isChecked();
        }
        return s;
    }
    void *interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface
                   ? static_cast<QAccessibleActionInterface *>(this)
                   : nullptr;
    }

    QStringList actionNames() const override {
        if (!m_action || m_action->isSeparator())
            return {};
        if (m_action->menu())
            return {showMenuAction()};
        return {m_action->isCheckable() ? toggleAction() : pressAction()};
    }
    void doAction(const QString &name) override {
        if (!m_action || !m_action->isEnabled())
            return;
        if (name == showMenuAction()) {
            if (QMenu *menu = menuOf(m_action))
                menu->setActiveAction(m_action);
        } else if (name == toggleAction() || name == pressAction()) {
            m_action->trigger();
        }
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QPointer<QAction> m_action;
};

// A menu whose entries are the ones above, each counted in its place.
class MenuOfEntries final : public QAccessibleWidget {
public:
    explicit MenuOfEntries(QMenu *menu) : QAccessibleWidget(menu, QAccessible::PopupMenu) {}

    int childCount() const override { return int(menu()->actions().size()); }
    QAccessibleInterface *child(int index) const override {
        const QList<QAction *> actions = menu()->actions();
        return index >= 0 && index < actions.size()
                   ? QAccessible::queryAccessibleInterface(actions[index])
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override {
        return child ? int(menu()->actions().indexOf(qobject_cast<QAction *>(child->object())))
                     : -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override {
        QAction *action = menu()->actionAt(menu()->mapFromGlobal(QPoint(x, y)));
        return action && !action->isSeparator() ? QAccessible::queryAccessibleInterface(action)
                                                : nullptr;
    }
    QString text(QAccessible::Text t) const override {
        const QString text = QAccessibleWidget::text(t);
        return text.isEmpty() && t == QAccessible::Name ? withoutMnemonic(menu()->title()) : text;
    }

private:
    QMenu *menu() const { return static_cast<QMenu *>(widget()); }
};

// The check box's new state is told as it changes, also when the menu it
// was chosen in has just closed.
void tellToggles(QAction *action) {
    QObject::connect(action, &QAction::toggled, action, [action] {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(action, changed);
        QAccessible::updateAccessibility(&event);
    });
}

QAccessibleInterface *menuAccessible(const QString &, QObject *object) {
    if (auto *menu = qobject_cast<QMenu *>(object))
        return new MenuOfEntries(menu);
    auto *action = qobject_cast<QAction *>(object);
    if (!action || !menuOf(action))
        return nullptr;
    if (action->isCheckable())
        tellToggles(action);
    return new MenuEntry(action);
}

} // namespace

void readCheckableMenuItemsAsCheckBoxes() {
    static const bool installed = [] {
        QAccessible::installFactory(menuAccessible);
        return true;
    }();
    (void)installed;
}

} // namespace wendle
