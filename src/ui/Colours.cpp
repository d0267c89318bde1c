#include "ui/Colours.h"

#include <QAbstractButton>
#include <qdrawutil.h>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>

#include <memory>

namespace morv {

namespace {

// Marks a widget whose text colour was chosen for it.
const char* const OwnTextColour = "morvOwnTextColour";

// A coloured button is painted in its colour alone: the style's gradient
// would turn salmon into pink and white into grey. Boxes get plain frames.
class FlatButtonStyle final : public QProxyStyle {
public:
    FlatButtonStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element == PE_FrameLineEdit) return drawBoxFrame(option, painter, widget);
        if (element != PE_PanelButtonCommand)
            return QProxyStyle::drawPrimitive(element, option, painter, widget);
        const QPalette& palette = option->palette;
        QColor face = palette.color(QPalette::Button);
        if (option->state & (State_Sunken | State_On)) face = face.darker(115);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->fillRect(option->rect.adjusted(1, 1, -1, -1), face);
        const bool focused = option->state & State_HasFocus;
        painter->setPen(focused ? palette.color(QPalette::Highlight) : palette.color(QPalette::Dark));
        painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
        if (focused) painter->drawRect(option->rect.adjusted(1, 1, -2, -2));
        painter->restore();
    }

private:
    // A box's frame in straight lines, sunken as the classic boxes are; the
    // style's rounded, smoothed frame was a sixth of the first paint's work
    // for some fifty boxes. The focus still shows in the highlight colour.
    void drawBoxFrame(const QStyleOption* option, QPainter* painter, const QWidget* widget) const {
        const QPalette& palette = option->palette;
        const int width = proxy()->pixelMetric(PM_DefaultFrameWidth, option, widget);
        if (width >= 2)
            qDrawWinPanel(painter, option->rect, palette, true);
        else
            qDrawShadePanel(painter, option->rect, palette, true, 1);
        if (option->state & State_HasFocus) {
            painter->save();
            painter->setPen(palette.color(QPalette::Highlight));
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
            painter->restore();
        }
    }
};

}  // namespace

QStyle* NewProgramStyle() { return new FlatButtonStyle; }

QPalette LightPalette() {
    static const QPalette palette = [] {
        std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
        return fusion->standardPalette();
    }();
    return palette;
}

namespace colour {
QColor WindowBackground() { return LightPalette().color(QPalette::Base); }
QColor ButtonFace() { return LightPalette().color(QPalette::Button); }
}  // namespace colour

static QPalette::ColorRole backgroundRole(const QWidget* widget) {
    if (qobject_cast<const QLineEdit*>(widget)) return QPalette::Base;
    if (qobject_cast<const QAbstractButton*>(widget) && !widget->inherits("QCheckBox"))
        return QPalette::Button;
    return QPalette::Window;
}

static QPalette::ColorRole textRole(QPalette::ColorRole background) {
    switch (background) {
        case QPalette::Base:
            return QPalette::Text;
        case QPalette::Button:
            return QPalette::ButtonText;
        default:
            return QPalette::WindowText;
    }
}

void SetBackground(QWidget* widget, const QColor& colour) {
    const QPalette::ColorRole role = backgroundRole(widget);
    QPalette palette = widget->palette();
    if (palette.color(role) == colour && widget->autoFillBackground()) return;
    palette.setColor(role, colour);
    // The text goes with the background, whatever the desktop's theme makes
    // of it; a colour set for the text on purpose (red) stays.
    const QPalette::ColorRole text = textRole(role);
    if (!widget->property(OwnTextColour).toBool()) palette.setColor(text, LightPalette().color(text));
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
    widget->setProperty(OwnTextColour, true);
}

}  // namespace morv
