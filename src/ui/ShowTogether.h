#pragma once
// What must come into view with a control when a scrolled window brings it
// there: the whole control, not only its text cursor, and the controls that
// are read with it (a row's tick beside its boxes).

#include <QRect>

class QWidget;

namespace morv {

// From now on `control` is shown together with `companion`.
void ShowTogether(QWidget* control, QWidget* companion);

// The area, in `content`'s coordinates, that showing `control` should bring
// into view.
QRect AreaToShow(const QWidget* control, const QWidget* content);

}  // namespace morv
