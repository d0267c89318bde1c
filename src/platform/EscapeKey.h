#pragma once
// Escape leaves what is open on top of the window, the way its own close
// button would: the button is pressed, so that everything that button does
// (messages, where the focus goes, what stays pending) applies unchanged.

#include <functional>

class QAbstractButton;
class QWidget;

namespace morv {

// Escape pressed in `panel`, or passed up unhandled by a control inside it,
// runs `onEscape` and goes no further, also when `onEscape` does nothing.
void CloseOnEscape(QWidget* panel, std::function<void()> onEscape);

// Escape that reaches `window` unhandled, because the focus is outside every
// open panel (the covered button that opened one may keep it), goes to the
// top-most open panel of the window that closes on Escape.
void PassEscapeToTopPanel(QWidget* window);

// Presses `button` as a click would, if the user could press it now. When the
// focus is in the same panel, the button takes it first, as a click gives it.
void PressIfShown(QAbstractButton* button);

}  // namespace morv
