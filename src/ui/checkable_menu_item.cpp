#include "ui/checkable_menu_item.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QPointer>
#include <QStyle>
#include <QTimer>

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

// "&Report…" is read "Report…"; "&&" is one "&"; what follows a tab is the
// entry's key, read as its shortcut.
QString withoutMnemonic(QString text) {
    if (const qsizetype tab = text.indexOf(QLatin1Char('\t')); tab >= 0)
        text.truncate(tab);
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
        if (t == QAccessible::Accelerator) {
            const QString key = m_action->shortcut().toString(QKeySequence::NativeText);
            const qsizetype tab = m_action->text().indexOf(QLatin1Char('\t'));
            return key.isEmpty() && tab >= 0 ? m_action->text().mid(tab + 1) : key;
        }
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
            s.checked = m_action->isChecked() != m_aboutToToggle;
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

    // Tells the state the entry is about to take, while it still has the
    // focus: a menu closes before its chosen entry toggles, and what is
    // told after that belongs to a control no longer focused.
    void tellComingToggle() {
        m_aboutToToggle = true;
        tellToggle();
        m_aboutToToggle = false;
        // The toggle itself, within this key's handling, is not told twice.
        m_told = true;
        QTimer::singleShot(0, m_action.data(), [this] { m_told = false; });
    }
    void tellToggle() {
        if (m_told)
            return;
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(m_action.data(), changed);
        QAccessible::updateAccessibility(&event);
    }

private:
    QPointer<QAction> m_action;
    bool m_aboutToToggle = false;
    bool m_told = false;
};

// Return or Enter (or Space, where the style chooses with it) on a
// checkable entry of any menu.
class ComingToggles final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::KeyPress || !QAccessible::isActive())
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        auto *menu = qobject_cast<QMenu *>(watched);
        const bool chooses =
            key == Qt::Key_Return || key == Qt::Key_Enter ||
            (key == Qt::Key_Space && menu &&
             menu->style()->styleHint(QStyle::SH_Menu_SpaceActivatesItem, nullptr, menu));
        if (!menu || !chooses)
            return false;
        QAction *action = menu->activeAction();
        if (action && action->isCheckable() && action->isEnabled() && !action->menu())
            if (auto *entry =
                    dynamic_cast<MenuEntry *>(QAccessible::queryAccessibleInterface(action)))
                entry->tellComingToggle();
        return false;
    }
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

// The check box's new state is told as it changes, by the program too.
void tellToggles(QAction *action) {
    QObject::connect(action, &QAction::toggled, action, [action] {
        if (auto *entry = dynamic_cast<MenuEntry *>(QAccessible::queryAccessibleInterface(action)))
            entry->tellToggle();
    });
}

QAccessibleInterface *menuAccessible(const QString &, QObject *object) {
    if (auto *menu = qobject_cast<QMenu *>(object))
        return new MenuOfEntries(menu);
    auto *action = qobject_cast<QAction *>(object);
    if (!action || !menuOf(action))
        return nullptr;
    // Connected for any entry: one may become checkable later.
    tellToggles(action);
    return new MenuEntry(action);
}

} // namespace

void readCheckableMenuItemsAsCheckBoxes() {
    static const bool installed = [] {
        QAccessible::installFactory(menuAccessible);
        qApp->installEventFilter(new ComingToggles(qApp));
        return true;
    }();
    (void)installed;
}

} // namespace wendle
