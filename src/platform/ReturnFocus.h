#pragma once
// A panel or window that closes gives the focus back to the control that had
// it when it opened, so that a keyboard user goes on where they were instead
// of on a hidden control that nothing shows and Tab cannot leave.

#include <functional>

class QWidget;

namespace morv {

// From now on, whenever `panel` hides with the focus inside it, the focus goes
// back to the control outside it that had it when `panel` was shown, or, when
// that one is gone or hidden, to `fallback()` (if it gives one). A panel that
// puts the focus somewhere on purpose before it hides is left alone. The
// control gets the focus as after a popup: it does not act as if the user had
// moved into it.
void ReturnFocusOnHide(QWidget* panel, std::function<QWidget*()> fallback = {});

}  // namespace morv
