#pragma once
#include <QFocusEvent>

namespace morv {

// Whether a box lost the focus because Tab or Shift+Tab was pressed.
inline bool LeftByTab(const QFocusEvent* event) {
    return event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
}

}  // namespace morv
