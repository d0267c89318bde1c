#include "app/Colours.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPalette>
#include <QWidget>

namespace morv {

namespace colour {
QColor WindowBackground() { return QApplication::palette().color(QPalette::Base); }
QColor ButtonFace() { return QApplication::palette().color(QPalette::Button); }
}  // namespace colour

static QPalette::ColorRole backgroundRole(const QWidget* widget) {
    if (qobject_cast<const QLineEdit*>(widget)) return QPalette::Base;
    if (qobject_cast<const QAbstractButton*>(widget) && !widget->inherits("QCheckBox"))
        return QPalette::Button;
    return QPalette::Window;
}

void SetBackground(QWidget* widget, const QColor& colour) {
    const QPalette::ColorRole role = backgroundRole(widget);
    QPalette palette = widget->palette();
    if (palette.color(role) == colour && widget->autoFillBackground()) return;
    palette.setColor(role, colour);
    widget->setPalette(palette);
    if (role == QPalette::Window) widget->setAutoFillBackground(true);
}

QColor Background(const QWidget* widget) { return widget->palette().color(backgroundRole(widget)); }

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    palette.setColor(QPalette::ButtonText, colour);
    widget->setPalette(palette);
}

}  // namespace morv
