#include "platform/CloseOnSignal.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QString>
#include <QWidget>
#include <csignal>
#include <cstdio>

namespace morv {
namespace {
int signalPipe[2] = {-1, -1};
bool terminating = false;
bool failedWhileTerminating = false;
MessageOnScreen* topMessage = nullptr;

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] ssize_t ignored = ::write(signalPipe[1], &byte, 1);
}
}  // namespace

void ReportMessagesOnScreen() {
    for (MessageOnScreen* m = topMessage; m; m = m->under_)
        ReportWhileTerminating(
            m->question_ ? QStringLiteral("答えを待たずに終了しました: ") + m->text_ : m->text_,
            m->question_);
}

MessageOnScreen::MessageOnScreen(const QString& text, bool question)
    : text_(text), question_(question), under_(topMessage) {
    topMessage = this;
}

MessageOnScreen::~MessageOnScreen() { topMessage = under_; }

void CloseWindowOnTerminationSignals(QWidget* window, std::function<bool()> everythingSaved) {
    // The handler may only write to a socket; the window is closed from the
    // event loop when the notifier sees the byte.
    if (signalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, window);
    QObject::connect(notifier, &QSocketNotifier::activated, window, [window, everythingSaved] {
        char byte;
        [[maybe_unused]] ssize_t ignored = ::read(signalPipe[0], &byte, 1);
        terminating = true;
        ReportMessagesOnScreen();
        window->close();
        // Also ends any message box that is open (they run event loops of
        // their own), so the program ends at once whatever it shows.
        const bool failed = failedWhileTerminating || (everythingSaved && !everythingSaved());
        QCoreApplication::exit(failed ? 1 : 0);
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &action, nullptr);
}

bool TerminationRequested() { return terminating; }

void ReportWhileTerminating(const QString& text, bool failure) {
    failedWhileTerminating = failedWhileTerminating || failure;
    // One line, whatever breaks the message had on screen.
    QString line = text.trimmed();
    line.replace(QLatin1String("\r\n\r\n"), QLatin1String(" "))
        .replace(QLatin1String("\r\n"), QLatin1String(" "));
    line.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    std::fprintf(stderr, "morvaline: %s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

}  // namespace morv
