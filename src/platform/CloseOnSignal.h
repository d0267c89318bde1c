#pragma once
class QWidget;

namespace morv {
// SIGTERM, SIGINT and SIGHUP (a logout, a system shutdown, Ctrl+C in a terminal)
// become a close request of the window, so the diary is saved as when the close
// box is pressed.
void CloseWindowOnTerminationSignals(QWidget* window);
}  // namespace morv
