#include "platform/RaiseRunning.h"

#include "platform/SingleInstance.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

namespace morv {

static const QByteArray RaiseMessage = QByteArrayLiteral("raise\n");

QString RaiseSocketName(const QString& dataFolder) {
    // Named as the lock is, so that every spelling of one folder meets the same copy.
    // Beside the lock, in a folder no other user can have made: a predictable
    // name in the shared temporary folder could be taken by anyone first.
    const QString hash = SingleInstance::FolderKey(dataFolder);
    const QString dir = SingleInstance::RuntimeLockFolder();
    if (dir.isEmpty()) return {};
    return dir + QStringLiteral("/morvaline-") + hash + QStringLiteral(".socket");
}

RaiseOnRequest::RaiseOnRequest(const QString& name, QWidget* window)
    : server_(new QLocalServer(this)), window_(window) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // This copy holds the single-instance lock, so a socket left behind is
    // from a copy that ended without removing it.
    if (!server_->listen(name) && server_->serverError() == QAbstractSocket::AddressInUseError) {
        QLocalServer::removeServer(name);
        server_->listen(name);
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                // Whatever else arrives is not ours to act on.
                if (socket->readAll().startsWith(RaiseMessage.trimmed())) raiseWindow();
                socket->disconnectFromServer();
            });
        }
    });
}

bool RaiseOnRequest::listening() const { return server_->isListening(); }

void RaiseOnRequest::raiseWindow() {
    window_->setWindowState((window_->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window_->show();
    window_->raise();
    window_->activateWindow();
    // A window manager that keeps the window on another workspace, or refuses
    // to let it take the focus, still marks it as asking for attention.
    QApplication::alert(window_);
}

bool AskRunningToRaise(const QString& name, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(RaiseMessage);
    const bool sent = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return sent;
}

}  // namespace morv
