#pragma once
#include <QFocusEvent>

namespace morv {

// Whether a box lost the focus because Tab or Shift+Tab was pressed.
inline bool LeftByTab(const QFocusEvent* event) {
    return event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
}

// Focus that leaves or returns with the whole window (another program, a
// message box, a menu) is not a move between controls: the box keeps its
// role, its selection and its cursor.
inline bool MovesBetweenControls(const QFocusEvent* event) {
    return event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
}

}  // namespace morv
