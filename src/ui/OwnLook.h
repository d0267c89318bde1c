#pragma once
// The window keeps its own light palette, its own style and its colour coding
// whatever the desktop does: at start, and again after every theme, palette
// or style change (qt6ct applying new settings, GTK switching to a dark
// style, a high-contrast scheme), which would otherwise leave the window in
// the desktop's colours or with a mix of both.

class QWidget;

namespace morv {

// Gives `window` the light palette now and puts it, the program's style and
// every colour set with SetBackground and SetTextColour back after any such
// change, for as long as `window` lives.
void KeepOwnLook(QWidget* window);

}  // namespace morv
