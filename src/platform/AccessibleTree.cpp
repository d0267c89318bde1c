#include "platform/AccessibleTree.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QApplication>
#include <QMenu>

#include <algorithm>

namespace morv {
namespace {

const char* const ClicksProperty = "morvActionsClick";

class ClickingButton final : public QAccessibleWidget {
public:
    explicit ClickingButton(QAbstractButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

    QAbstractButton* button() const { return static_cast<QAbstractButton*>(object()); }

    QString text(QAccessible::Text t) const override {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty()) text = button()->text().remove(QLatin1Char('&'));
        return text;
    }

    QAccessible::State state() const override {
        QAccessible::State st = QAccessibleWidget::state();
        st.checkable = button()->isCheckable();
        st.checked = button()->isChecked();
        st.pressed = button()->isDown();
        return st;
    }

    QStringList actionNames() const override {
        QStringList names;
        if (button()->isEnabled()) names << pressAction();
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (!button()->isEnabled()) return;
        if (action == pressAction() || action == toggleAction())
            button()->click();
        else
            QAccessibleWidget::doAction(action);
    }
};

// The shown menus that have no parent widget, in a fixed order.
QList<QMenu*> shownMenus() {
    QList<QMenu*> menus;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* menu = qobject_cast<QMenu*>(widget); menu && menu->isVisible() && !menu->parentWidget())
            menus << menu;
    std::sort(menus.begin(), menus.end());
    return menus;
}

class ApplicationWithMenus final : public QAccessibleApplication {
public:
    int childCount() const override {
        return QAccessibleApplication::childCount() + int(shownMenus().size());
    }

    QAccessibleInterface* child(int index) const override {
        const int windows = QAccessibleApplication::childCount();
        if (index < windows) return QAccessibleApplication::child(index);
        const QList<QMenu*> menus = shownMenus();
        return index - windows < menus.size() ? QAccessible::queryAccessibleInterface(menus[index - windows])
                                              : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child) {
            const qsizetype at = shownMenus().indexOf(qobject_cast<QMenu*>(child->object()));
            if (at >= 0) return QAccessibleApplication::childCount() + int(at);
        }
        return QAccessibleApplication::indexOfChild(child);
    }
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (object == qApp && className == QLatin1String("QApplication")) return new ApplicationWithMenus;
    if (object->isWidgetType() && object->property(ClicksProperty).toBool())
        if (auto* button = qobject_cast<QAbstractButton*>(object)) return new ClickingButton(button);
    return nullptr;
}

void InstallFactory() {
    static const bool installed = (QAccessible::installFactory(Factory), true);
    Q_UNUSED(installed);
}

// An interface made before the factory was there is dropped, so that the
// next question about `object` makes one of ours.
template <class Ours>
void Replace(QObject* object) {
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(object);
    if (made && !dynamic_cast<Ours*>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

}  // namespace

void ActionsClickButton(QAbstractButton* button) {
    InstallFactory();
    button->setProperty(ClicksProperty, true);
    Replace<ClickingButton>(button);
}

void ListMenusOnTree() {
    InstallFactory();
    Replace<ApplicationWithMenus>(qApp);
}

}  // namespace morv
