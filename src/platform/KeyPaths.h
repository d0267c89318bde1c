#pragma once
// Keyboard ways to what the mouse does on controls that Tab does not reach:
// a command pressed by its shortcut, and a row's tick and buttons from the
// row's own text boxes.

#include <QList>

class QAbstractButton;
class QAction;
class QCheckBox;
class QLineEdit;

namespace morv {

// Presses `button` as a mouse click does: it takes the focus first when a
// click would give it (so a box being edited is left, with all that leaving
// does), then it is clicked. Nothing happens while the user could not click
// it: hidden, disabled or covered by a panel.
void PressByKey(QAbstractButton* button);

struct RowKeys {
    QCheckBox* tick = nullptr;         // Ctrl+Space ticks or unticks it
    QList<QAbstractButton*> commands;  // offered by the context-menu key and Shift+F10
    QList<QAction*> extras;            // offered after them: what the row has no button for
    // A plain Space over the whole of a name ticks too, instead of replacing
    // the name with a blank.
    bool spaceOverNameTicks = false;
};
void InstallRowKeys(QLineEdit* box, RowKeys keys);

}  // namespace morv
