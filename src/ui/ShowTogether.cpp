#include "ui/ShowTogether.h"

#include <QPointer>
#include <QVariant>
#include <QWidget>

namespace morv {

static const char* const Companion = "morvShowTogether";

void ShowTogether(QWidget* control, QWidget* companion) {
    control->setProperty(Companion, QVariant::fromValue(QPointer<QWidget>(companion)));
}

QRect AreaToShow(const QWidget* control, const QWidget* content) {
    QRect area(control->mapTo(content, QPoint(0, 0)), control->size());
    const auto companion = control->property(Companion).value<QPointer<QWidget>>();
    if (companion && companion->isVisible() && content->isAncestorOf(companion))
        area |= QRect(companion->mapTo(content, QPoint(0, 0)), companion->size());
    return area;
}

}  // namespace morv
