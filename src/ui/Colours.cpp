#include "ui/Colours.h"

#include <qdrawutil.h>
#include <QAbstractButton>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>

namespace morv {

namespace {

// The colours chosen for a widget, kept with it so that they can be put back
// after the desktop's theme or palette changed under it.
const char* const OwnTextColour = "morvOwnTextColour";
const char* const OwnBackground = "morvOwnBackground";
const char* const OwnStyle = "morvOwnStyle";

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
        // A checked button (the page shown) is told by its own colour.
        if (option->state & State_Sunken) face = face.darker(115);
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

QStyle* NewProgramStyle() {
    auto* style = new FlatButtonStyle;
    style->setProperty(OwnStyle, true);
    return style;
}

QPalette LightPalette() {
    // Spelled out: Fusion's own standard palette follows the desktop's dark
    // appearance (GTK's Adwaita:dark), and this one must not.
    static const QPalette palette = [] {
        const QColor face(239, 239, 239);
        const QColor dark = face.darker(150);
        const QColor mid = face.darker(130);
        const QColor shadow = dark.darker(135);
        QPalette p;
        const std::pair<QPalette::ColorRole, QColor> roles[] = {
            {QPalette::WindowText, Qt::black},
            {QPalette::Button, face},
            {QPalette::Light, face.lighter(150)},
            {QPalette::Midlight, mid.lighter(110)},
            {QPalette::Dark, dark},
            {QPalette::Mid, mid},
            {QPalette::Text, Qt::black},
            {QPalette::BrightText, Qt::white},
            {QPalette::ButtonText, Qt::black},
            {QPalette::Base, Qt::white},
            {QPalette::Window, face},
            {QPalette::Shadow, shadow},
            {QPalette::Highlight, QColor(48, 140, 198)},
            {QPalette::HighlightedText, Qt::white},
            {QPalette::Link, QColor(0, 0, 255)},
            {QPalette::LinkVisited, QColor(255, 0, 255)},
            {QPalette::AlternateBase, QColor(247, 247, 247)},
            {QPalette::NoRole, face},
            {QPalette::ToolTipBase, QColor(255, 255, 220)},
            {QPalette::ToolTipText, Qt::black},
            {QPalette::PlaceholderText, QColor(0, 0, 0, 128)},
        };
        for (const auto& [role, colour] : roles) p.setColor(role, colour);
        const std::pair<QPalette::ColorRole, QColor> disabled[] = {
            {QPalette::Text, QColor(190, 190, 190)},
            {QPalette::WindowText, QColor(190, 190, 190)},
            {QPalette::ButtonText, QColor(190, 190, 190)},
            {QPalette::Base, face},
            {QPalette::Dark, QColor(209, 209, 209).darker(110)},
            {QPalette::Shadow, shadow.lighter(150)},
            {QPalette::Highlight, QColor(145, 145, 145)},
        };
        for (const auto& [role, colour] : disabled) p.setColor(QPalette::Disabled, role, colour);
        return p;
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

static void applyBackground(QWidget* widget, const QColor& colour) {
    const QPalette::ColorRole role = backgroundRole(widget);
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    // The text goes with the background, whatever the desktop's theme makes
    // of it; a colour set for the text on purpose (red) stays.
    const QPalette::ColorRole text = textRole(role);
    const QVariant own = widget->property(OwnTextColour);
    palette.setColor(text, own.isValid() ? own.value<QColor>() : LightPalette().color(text));
    widget->setPalette(palette);
    if (role == QPalette::Window) widget->setAutoFillBackground(true);
}

void SetBackground(QWidget* widget, const QColor& colour) {
    widget->setProperty(OwnBackground, colour);
    if (widget->palette().color(backgroundRole(widget)) == colour && widget->autoFillBackground()) return;
    applyBackground(widget, colour);
}

QColor Background(const QWidget* widget) { return widget->palette().color(backgroundRole(widget)); }

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    palette.setColor(QPalette::ButtonText, colour);
    widget->setPalette(palette);
    widget->setProperty(OwnTextColour, colour);
}

void ReapplyColours(QWidget* root) {
    root->setPalette(LightPalette());
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* widget : widgets) {
        // What a style sheet or a class palette of the desktop left behind
        // goes; the window's palette is inherited again.
        if (widget != root) widget->setPalette(QPalette());
        const QVariant text = widget->property(OwnTextColour);
        if (text.isValid()) SetTextColour(widget, text.value<QColor>());
        const QVariant background = widget->property(OwnBackground);
        if (background.isValid()) applyBackground(widget, background.value<QColor>());
    }
}

bool IsProgramStyle(const QStyle* style) { return style && style->property(OwnStyle).toBool(); }

}  // namespace morv
