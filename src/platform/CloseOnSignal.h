#pragma once
#include <QString>

#include <functional>

class QWidget;

namespace morv {
// SIGTERM, SIGINT and SIGHUP (a logout, a system shutdown, Ctrl+C in a terminal)
// become a close request of the window, so the diary is saved as when the close
// box is pressed. The program then ends, with status 1 when a save failed
// (`everythingSaved` answers false once the window has closed, or a failure
// came to be told while ending) or a question was left unanswered; a plain
// notice that was open goes to standard error and costs nothing.
void CloseWindowOnTerminationSignals(QWidget* window, std::function<bool()> everythingSaved = {});

// Whether a termination signal has arrived: from then on nothing may wait for
// the user, or a logout would have to kill the program.
bool TerminationRequested();

// A message that can no longer be shown, as the program is ending on a signal:
// it goes to standard error as one line, and (a failure, as all that is told
// while ending is) the program ends with status 1.
void ReportWhileTerminating(const QString& text, bool failure = true);

// Held while a message box waits for the user. A signal then ends the box
// without its answer, and what it said is reported as above: a question as a
// failure (its action was not done), a notice as words only; whether a save
// failed is the window's to answer (the close's own save is not run twice, so
// a notice may be the only word of it).
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
