#pragma once
class QString;
class QWidget;

namespace morv {
// SIGTERM, SIGINT and SIGHUP (a logout, a system shutdown, Ctrl+C in a terminal)
// become a close request of the window, so the diary is saved as when the close
// box is pressed. The program then ends, with status 1 when that save failed.
void CloseWindowOnTerminationSignals(QWidget* window);

// Whether a termination signal has arrived: from then on nothing may wait for
// the user, or a logout would have to kill the program.
bool TerminationRequested();

// A message that can no longer be shown, as the program is ending on a signal:
// it goes to standard error, and the program ends with status 1.
void ReportWhileTerminating(const QString& text);
}  // namespace morv
