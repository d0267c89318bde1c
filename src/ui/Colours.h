#pragma once
// The program's named colours and one way to set and read a widget's background,
// whatever kind of widget it is, so that handlers and tests agree on it.

#include <QColor>
#include <QPalette>

#include <QList>

class QAbstractItemView;
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

// WCAG 2 relative luminance and contrast ratio (1 to 21).
double Luminance(const QColor& colour);
double Contrast(const QColor& a, const QColor& b);

// A palette made for reading: black or white on the extremes for window, box
// and button (14:1 at least) and a selection that reads at 7:1. Such a
// palette is the user's own choice for their eyes (a high-contrast scheme),
// and the window then follows it instead of its own light one: boxes and
// panels in the palette's colours, the coloured boxes in their colours with
// black text, red text in the palette's text colour.
bool IsHighContrast(const QPalette& palette);
// Whether the window follows the desktop's high-contrast palette now; decided
// by ReapplyColours from the application's palette.
bool FollowingHighContrast();
// The palette the window is drawn with: its own light one, or the desktop's
// high-contrast one.
QPalette ProgramPalette();

// The selected row of `view` reads at 4.5:1 whatever palette it gets,
// also while the focus is elsewhere in its window (a search box that moves
// the selection), where Qt draws the inactive colours.
void KeepSelectionReadable(QAbstractItemView* view);

// The outline that makes a bar in `fill` stand out (3:1) from each of
// `around`: the fill's own hue, darkened as far as that needs.
QColor BarEdge(const QColor& fill, const QList<QColor>& around);

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
