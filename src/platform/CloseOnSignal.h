#pragma once
#include <QString>

class QWidget;

namespace morv {
// SIGTERM, SIGINT and SIGHUP (a logout, a system shutdown, Ctrl+C in a terminal)
// become a close request of the window, so the diary is saved as when the close
// box is pressed. The program then ends, with status 1 when that save failed or
// a message box was waiting for the user.
void CloseWindowOnTerminationSignals(QWidget* window);

// Whether a termination signal has arrived: from then on nothing may wait for
// the user, or a logout would have to kill the program.
bool TerminationRequested();

// A message that can no longer be shown, as the program is ending on a signal:
// it goes to standard error as one line, and the program ends with status 1.
void ReportWhileTerminating(const QString& text);

// Held while a message box waits for the user. A signal then ends the box
// without its answer, and what it said is reported as above: the box may be
// the only word of a save that failed (the close's own save is not run twice).
class MessageOnScreen {
public:
    MessageOnScreen(const QString& text, bool question);
    ~MessageOnScreen();
    MessageOnScreen(const MessageOnScreen&) = delete;
    MessageOnScreen& operator=(const MessageOnScreen&) = delete;

private:
    QString text_;
    bool question_;
    MessageOnScreen* under_;
    friend void ReportMessagesOnScreen();
};
}  // namespace morv
