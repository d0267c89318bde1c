#include "ui/Colours.h"

#include <qdrawutil.h>
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>

#include <algorithm>
#include <cmath>

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
            // White on it reads at 5.6:1 (a typed value is selected whole
            // when its box takes the focus); Fusion's (48, 140, 198) gave 3.7.
            {QPalette::Highlight, QColor(24, 108, 168)},
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

double Luminance(const QColor& colour) {
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

double Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool IsHighContrast(const QPalette& p) {
    auto pair = [&p](QPalette::ColorRole text, QPalette::ColorRole background) {
        return Contrast(p.color(QPalette::Active, text), p.color(QPalette::Active, background));
    };
    return pair(QPalette::WindowText, QPalette::Window) >= 14 && pair(QPalette::Text, QPalette::Base) >= 14 &&
           pair(QPalette::ButtonText, QPalette::Button) >= 14 &&
           pair(QPalette::HighlightedText, QPalette::Highlight) >= 7;
}

namespace {
bool highContrast = false;
}  // namespace

bool FollowingHighContrast() { return highContrast; }

QPalette ProgramPalette() { return highContrast ? QApplication::palette() : LightPalette(); }

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

// Under a high-contrast palette the plain colours (a white box, the face of a
// button or panel) are the palette's own; the colours that carry a meaning
// stay, with black text, which reads on every one of them.
static std::pair<QColor, QColor> shownColours(QPalette::ColorRole role, const QColor& colour) {
    const QPalette light = LightPalette();
    if (!highContrast) return {colour, light.color(textRole(role))};
    const QPalette own = QApplication::palette();
    if (colour == colour::White || colour == light.color(QPalette::Base)) {
        const QPalette::ColorRole shown = role == QPalette::Button ? QPalette::Button : QPalette::Base;
        return {own.color(shown), own.color(textRole(shown))};
    }
    if (colour == light.color(QPalette::Button) || colour == light.color(QPalette::Window))
        return {own.color(role), own.color(textRole(role))};
    return {colour, Qt::black};
}

static void applyBackground(QWidget* widget, const QColor& colour) {
    const QPalette::ColorRole role = backgroundRole(widget);
    const auto [background, text] = shownColours(role, colour);
    QPalette palette = widget->palette();
    palette.setColor(role, background);
    // The text goes with the background, whatever the desktop's theme makes
    // of it; a colour set for the text on purpose (red) stays, but for a
    // high-contrast palette, whose own text colour is the one to read.
    const QVariant own = widget->property(OwnTextColour);
    palette.setColor(textRole(role), own.isValid() && !highContrast ? own.value<QColor>() : text);
    widget->setPalette(palette);
    if (role == QPalette::Window) widget->setAutoFillBackground(true);
}

void SetBackground(QWidget* widget, const QColor& colour) {
    widget->setProperty(OwnBackground, colour);
    const QPalette::ColorRole role = backgroundRole(widget);
    if (widget->palette().color(role) == shownColours(role, colour).first && widget->autoFillBackground())
        return;
    applyBackground(widget, colour);
}

QColor Background(const QWidget* widget) { return widget->palette().color(backgroundRole(widget)); }

void SetTextColour(QWidget* widget, const QColor& colour) {
    widget->setProperty(OwnTextColour, colour);
    QPalette palette = widget->palette();
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, highContrast ? ProgramPalette().color(role) : colour);
    widget->setPalette(palette);
}

void ReapplyColours(QWidget* root) {
    highContrast = IsHighContrast(QApplication::palette());
    root->setPalette(ProgramPalette());
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

namespace {

// Puts the readable selection colours back whenever the desktop's palette
// changes under the view.
class SelectionColours final : public QObject {
public:
    explicit SelectionColours(QAbstractItemView* view) : QObject(view), view_(view) {
        view->installEventFilter(this);
        apply();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == view_ && !applying_ &&
            (event->type() == QEvent::ApplicationPaletteChange || event->type() == QEvent::ThemeChange))
            apply();
        return QObject::eventFilter(watched, event);
    }

private:
    void apply() {
        applying_ = true;
        QPalette palette = view_->palette();
        const QPalette desktop = QApplication::palette(view_);
        QColor highlight = desktop.color(QPalette::Active, QPalette::Highlight);
        QColor text = desktop.color(QPalette::Active, QPalette::HighlightedText);
        // The text that reads best on the desktop's own selection colour, and
        // the program's own pair when neither does.
        if (Contrast(text, highlight) < 4.5)
            text = Contrast(Qt::white, highlight) >= Contrast(Qt::black, highlight) ? QColor(Qt::white)
                                                                                    : QColor(Qt::black);
        if (Contrast(text, highlight) < 4.5) {
            highlight = LightPalette().color(QPalette::Highlight);
            text = LightPalette().color(QPalette::HighlightedText);
        }
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            palette.setColor(group, QPalette::Highlight, highlight);
            palette.setColor(group, QPalette::HighlightedText, text);
        }
        view_->setPalette(palette);
        applying_ = false;
    }

    QAbstractItemView* view_;
    bool applying_ = false;
};

}  // namespace

void KeepSelectionReadable(QAbstractItemView* view) { new SelectionColours(view); }

QColor BarEdge(const QColor& fill, const QList<QColor>& around) {
    QColor edge = fill;
    auto standsOut = [&edge, &around] {
        return std::all_of(around.begin(), around.end(),
                           [&edge](const QColor& c) { return Contrast(edge, c) >= 3; });
    };
    for (int step = 0; step < 40 && !standsOut(); ++step) edge = edge.darker(110);
    return edge;
}

bool IsProgramStyle(const QStyle* style) { return style && style->property(OwnStyle).toBool(); }

}  // namespace morv
