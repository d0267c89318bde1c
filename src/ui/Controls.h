#pragma once
// The window's controls are placed by hand at fixed positions and found by
// name (tests find them the same way); these make one in a single call.

#include <QColor>
#include <QFont>
#include <QList>
#include <QRect>
#include <QString>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace morv {

class Dialogs;

// The refusal of a second decimal point, the same for every number box.
void RefuseSecondPoint(Dialogs& dialogs);

// Labels show plain text only, whatever their caption holds.
QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& caption, const QRect& rect,
                  Qt::Alignment align = Qt::AlignVCenter | Qt::AlignLeft);
// A bar of a chart: a label in its colour (SetBackground) with an outline
// that stands out at 3:1 from the panel it lies on and from `alsoAround`
// (the bars it may lie over), as the fill alone may not.
QLabel* MakeBar(QWidget* parent, const QString& name, const QRect& rect, QList<QColor> alsoAround = {});
// The outline a bar made by MakeBar is drawn with now.
QColor BarOutline(const QLabel* bar);
// Buttons never act as a dialog's default: Enter belongs to the text boxes.
QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption, const QRect& rect,
                        Qt::FocusPolicy focus = Qt::StrongFocus);
QLineEdit* MakeBox(QWidget* parent, const QString& name, const QRect& rect);
// A raised panel in the button-face colour.
QFrame* MakePanel(QWidget* parent, const QString& name, const QRect& rect);
// The same look and name for a panel that is a class of its own.
void SetUpPanel(QFrame* frame, const QString& name);
// Bold text, at the given size when points > 0: headings and totals.
void MakeBold(QWidget* widget, int points = 0);
// The program's font, "Noto Sans CJK JP" at 9 points. Made the application's
// too, so that no control first lays its text out in another font.
QFont WindowFont();

// A label that shows an amount of salt is heard with it: `name`, the label's
// text in grams, then `remark` ("塩分合計 3.8 グラム、目標超過"). Call after
// each new text.
void SpeakAmount(QLabel* label, const QString& name, const QString& remark = QString());

// The object name of element i of a control array, e.g. "CommandP(3)".
QString ArrayName(const char* base, int index);

}  // namespace morv
