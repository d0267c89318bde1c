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

// While it lives, a knock on `name` shows, un-minimises and activates
// `window`, which must outlive it.
class RaiseOnRequest final : public QObject {
    Q_OBJECT
public:
    RaiseOnRequest(const QString& name, QWidget* window);
    bool listening() const;

private:
    void raiseWindow();

    QLocalServer* server_;
    QWidget* window_;
};

// Asks the copy listening on `name` to raise its window; false when none answered.
bool AskRunningToRaise(const QString& name, int timeoutMs = 2000);

}  // namespace morv
