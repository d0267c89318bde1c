#include "platform/Covered.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace morv {
namespace {

const char* const HolderProperty = "morvExposeOnlyUncovered";

bool coveredBySibling(const QWidget* widget) {
    const QWidget* parent = widget->parentWidget();
    const QObjectList& siblings = parent->children();
    for (qsizetype i = siblings.indexOf(const_cast<QWidget*>(widget)) + 1; i < siblings.size(); ++i) {
        const auto* above = qobject_cast<const QWidget*>(siblings[i]);
        if (above && !above->isWindow() && above->isVisibleTo(parent) &&
            above->geometry().contains(widget->geometry()))
            return true;
    }
    return false;
}

// The holder's own interface, with its covered children left out of the tree.
class UncoveredChildren final : public QAccessibleWidget {
public:
    explicit UncoveredChildren(QWidget* holder)
        : QAccessibleWidget(holder, holder->isWindow() ? QAccessible::Window : QAccessible::Client) {}

    int childCount() const override { return static_cast<int>(exposed().size()); }

    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> children = exposed();
        if (index < 0 || index >= children.size()) return nullptr;
        return QAccessible::queryAccessibleInterface(children[index]);
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child) return -1;
        return static_cast<int>(exposed().indexOf(qobject_cast<QWidget*>(child->object())));
    }

private:
    QList<QWidget*> exposed() const {
        QList<QWidget*> out;
        for (QObject* object : widget()->children()) {
            auto* child = qobject_cast<QWidget*>(object);
            if (child && !child->isWindow() && !coveredBySibling(child)) out << child;
        }
        return out;
    }
};

QAccessibleInterface* uncoveredFactory(const QString&, QObject* object) {
    if (!object || !object->isWidgetType() || !object->property(HolderProperty).toBool()) return nullptr;
    return new UncoveredChildren(static_cast<QWidget*>(object));
}

}  // namespace

bool IsCovered(const QWidget* widget) {
    for (const QWidget* w = widget; w && !w->isWindow() && w->parentWidget(); w = w->parentWidget())
        if (coveredBySibling(w)) return true;
    return false;
}

void ExposeOnlyUncovered(QWidget* holder) {
    static const bool installed = (QAccessible::installFactory(uncoveredFactory), true);
    Q_UNUSED(installed);
    holder->setProperty(HolderProperty, true);
}

}  // namespace morv
