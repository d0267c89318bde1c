#pragma once
// Screens and dialogs of this program are panels laid over the controls they
// hide. A covered control is still "visible" to the toolkit, so what the user
// cannot see or reach is worked out here, for keys and for screen readers.

class QWidget;

namespace morv {

// Whether a sibling stacked above `widget`, or above one of its ancestors,
// lies over the whole of it.
bool IsCovered(const QWidget* widget);

// A screen reader that walks `holder`'s children meets only those no panel
// covers; the covered ones come back when the panel goes. Call before the
// holder is first shown.
void ExposeOnlyUncovered(QWidget* holder);

}  // namespace morv
