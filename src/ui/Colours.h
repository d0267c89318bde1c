#pragma once
// The program's named colours and one way to set and read a widget's background,
// whatever kind of widget it is, so that handlers and tests agree on it.

#include <QColor>
#include <QPalette>

class QStyle;
class QWidget;

namespace morv {

namespace colour {
inline const QColor Peach{255, 224, 192};
inline const QColor Pink{255, 192, 192};
inline const QColor Yellow{255, 255, 0};
inline const QColor LightYellow{255, 255, 128};
inline const QColor PaleYellow{255, 255, 192};
inline const QColor LightOrange{255, 192, 128};
inline const QColor Salmon{255, 128, 128};
inline const QColor Lavender{192, 192, 255};
inline const QColor Red{255, 0, 0};
inline const QColor White{255, 255, 255};
// The system's colours of an input area and of a button or panel.
QColor WindowBackground();
QColor ButtonFace();
}  // namespace colour

// The window's own colours, light whatever the desktop's theme: the named
// colours above are drawn on it and with black text.
QPalette LightPalette();

// The application's style: Fusion with every push button painted flat in its
// colour, which is also the cheapest first paint of some hundred buttons.
QStyle* NewProgramStyle();
bool IsProgramStyle(const QStyle* style);

// Sets the background and, with it, a text colour that reads on it (unless a
// text colour was set on purpose). Push buttons are flat under NewProgramStyle.
void SetBackground(QWidget* widget, const QColor& colour);
QColor Background(const QWidget* widget);
void SetTextColour(QWidget* widget, const QColor& colour);
// Gives `root` the light palette again and every widget in it the colours
// set for it above, whatever a change of the desktop's theme did to them.
void ReapplyColours(QWidget* root);

}  // namespace morv
