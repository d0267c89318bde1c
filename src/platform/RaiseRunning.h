#pragma once
// A second launch brings the running copy's window to the front instead of
// doing nothing visible: the running copy listens on a local socket private
// to the user, named after its data folder, and the second copy knocks.

#include <QObject>
#include <QString>

class QLocalServer;
class QWidget;

namespace morv {

// The socket of the copy that uses `dataFolder`: beside the lock, in a
// folder no other user can enter; empty when there is none (then no copy
// listens or is asked).
QString RaiseSocketName(const QString& dataFolder);

// What a launch is given to prove the user asked for it: a Wayland
// activation token and an X startup id. Read them before the QApplication
// exists, which takes the startup id out of the environment.
struct LaunchTokens {
    QString activation;
    QString startupId;
    bool operator==(const LaunchTokens&) const = default;
};
LaunchTokens LaunchTokensFromEnvironment();

// While it lives, a knock on `name` shows, un-minimises and activates
// `window`, which must outlive it, on the user's current workspace; with the
// knocking launch's tokens the window manager lets it take the focus, and
// without them it asks for attention.
class RaiseOnRequest final : public QObject {
    Q_OBJECT
public:
    RaiseOnRequest(const QString& name, QWidget* window);
    bool listening() const;

signals:
    void raised(const morv::LaunchTokens& tokens);

private:
    void raiseWindow(const LaunchTokens& tokens);

    QLocalServer* server_;
    QWidget* window_;
};

// Asks the copy listening on `name` to raise its window; false when none answered.
bool AskRunningToRaise(const QString& name, const LaunchTokens& tokens = {}, int timeoutMs = 2000);

}  // namespace morv
