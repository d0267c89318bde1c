#include "platform/RaiseRunning.h"

#include "platform/SingleInstance.h"
#include "platform/X11Activate.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

namespace morv {

// One line: "raise", then the second launch's activation token and startup
// id when it was given them. A copy that knows only "raise" still raises.
static const QByteArray RaiseWord = QByteArrayLiteral("raise");
static const QByteArray TokenKey = QByteArrayLiteral(" token=");
static const QByteArray StartupKey = QByteArrayLiteral(" startup=");
static constexpr qsizetype LongestLine = 1024;

// A token is printable ASCII without spaces; anything else is not passed on.
static QByteArray Clean(const QString& token) {
    const QByteArray bytes = token.toLatin1();
    if (token.size() > 255 || bytes.isEmpty()) return {};
    for (const char ch : bytes)
        if (ch <= ' ' || ch > '~') return {};
    return bytes;
}

static QString Field(const QByteArray& line, const QByteArray& key) {
    const qsizetype at = line.indexOf(key);
    if (at < 0) return {};
    const qsizetype from = at + key.size();
    const qsizetype end = line.indexOf(' ', from);
    return QString::fromLatin1(Clean(QString::fromLatin1(line.mid(from, end < 0 ? -1 : end - from))));
}

LaunchTokens LaunchTokensFromEnvironment() {
    return {qEnvironmentVariable("XDG_ACTIVATION_TOKEN"), qEnvironmentVariable("DESKTOP_STARTUP_ID")};
}

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
            // The line may come in pieces: it is acted on once whole, or when
            // the knocking copy has gone. Whatever else arrives is not ours.
            const auto take = [this, socket](bool ended) {
                if (socket->property("taken").toBool()) return;
                if (!ended && !socket->canReadLine() && socket->bytesAvailable() < LongestLine) return;
                socket->setProperty("taken", true);
                const QByteArray line = socket->readLine(LongestLine).trimmed();
                if (line.startsWith(RaiseWord)) raiseWindow({Field(line, TokenKey), Field(line, StartupKey)});
                socket->disconnectFromServer();
            };
            connect(socket, &QLocalSocket::readyRead, this, [take] { take(false); });
            connect(socket, &QLocalSocket::disconnected, this, [take] { take(true); });
        }
    });
}

bool RaiseOnRequest::listening() const { return server_->isListening(); }

void RaiseOnRequest::raiseWindow(const LaunchTokens& tokens) {
    // On Wayland, the compositor lets a window take the focus only with a
    // token from the launch the user made; Qt hands on the one in this variable.
    if (!tokens.activation.isEmpty() && QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        qputenv("XDG_ACTIVATION_TOKEN", tokens.activation.toLatin1());
    window_->setWindowState((window_->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window_->show();
    window_->raise();
    BringToCurrentDesktop(window_, tokens.startupId);
    window_->activateWindow();
    // A window manager that keeps the window on another workspace, or refuses
    // to let it take the focus, still marks it as asking for attention.
    QApplication::alert(window_);
    emit raised(tokens);
}

bool AskRunningToRaise(const QString& name, const LaunchTokens& tokens, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs)) return false;
    QByteArray line = RaiseWord;
    if (const QByteArray token = Clean(tokens.activation); !token.isEmpty()) line += TokenKey + token;
    if (const QByteArray id = Clean(tokens.startupId); !id.isEmpty()) line += StartupKey + id;
    socket.write(line + '\n');
    const bool sent = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return sent;
}

}  // namespace morv
