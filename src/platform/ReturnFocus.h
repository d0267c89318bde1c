#pragma once
// A panel or window that closes gives the focus back to the control that had
// it when it opened, so that a keyboard user goes on where they were instead
// of on a hidden control that nothing shows and Tab cannot leave.

#include <functional>

class QWidget;

namespace morv {

// From now on, whenever `panel` hides with the focus inside it, the focus goes
// back to the control outside it that had it when `panel` was shown, or, when
// that one is gone, hidden or covered by a panel (an assistive technology's
// action may press a button without moving the focus), to `fallback()` (if
// it gives one). A panel that
// puts the focus somewhere on purpose before it hides is left alone. The
// control gets the focus as after a popup: it does not act as if the user had
// moved into it.
void ReturnFocusOnHide(QWidget* panel, std::function<QWidget*()> fallback = {});

// While one lives, a panel that shows takes `from` for the control that opened
// it, not the one that has the focus: a command pressed by its shortcut takes
// the focus for its click, but the user was, and goes on, in `from`.
class PressedFrom {
public:
    explicit PressedFrom(QWidget* from);
    ~PressedFrom();
    PressedFrom(const PressedFrom&) = delete;
    PressedFrom& operator=(const PressedFrom&) = delete;

private:
    QWidget* before_;
};

}  // namespace morv
