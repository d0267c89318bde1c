#pragma once
// Tab and Shift+Tab inside a panel laid over the window: the focus goes round
// the panel's own controls and never to the covered ones underneath.

#include <QList>

class QWidget;

namespace morv {

// Moves the focus to the next (or previous) control of the ring that is
// shown, enabled and takes Tab; from outside the ring, to its first (or last).
// Always true: the key has been dealt with.
bool MoveFocusInRing(const QList<QWidget*>& ring, bool next);

}  // namespace morv
