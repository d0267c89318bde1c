#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace morv {
namespace {

// A folder of our own: a real folder (no link) owned by this user and closed
// to everyone else, as a lock another user could plant or remove is no lock.
bool PrivateFolder(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    ::mkdir(name.constData(), 0700);
    struct stat st;
    if (::lstat(name.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) return false;
    if ((st.st_mode & 077) != 0 && ::chmod(name.constData(), 0700) != 0) return false;
    return true;
}

}  // namespace

QString SingleInstance::RuntimeLockFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir()) return runtime;
    const QString own = QDir::tempPath() + QStringLiteral("/morvaline-") + QString::number(::getuid());
    return PrivateFolder(own) ? own : QString();
}

QString SingleInstance::FolderKey(const QString& folder) {
    const QFileInfo info(folder);
    QString path = info.canonicalFilePath();
    if (path.isEmpty()) path = QDir::cleanPath(info.absoluteFilePath());
    const QByteArray hash = QCryptographicHash::hash(QFile::encodeName(path), QCryptographicHash::Sha256);
    return QString::fromLatin1(hash.toHex().left(32));
}

QString SingleInstance::LockName(const QString& folder) {
    return QStringLiteral("Morvaline-") + FolderKey(folder) + QStringLiteral(".lock");
}

SingleInstance::SingleInstance(const QString& folder, const QString& lockFolder)
    : folder_(folder),
      lockFolder_(lockFolder),
      lock_(lockFolder.isEmpty() ? QString() : lockFolder + QLatin1Char('/') + LockName(folder)) {
    // Never treat a live holder's lock as stale by age; a dead holder's lock is
    // still detected through its process id.
    lock_.setStaleLockTime(0);
}

bool SingleInstance::acquire() {
    // The data folder must be usable: the lock no longer proves it is.
    const QFileInfo info(folder_);
    if (!info.isDir() || !info.isWritable() || lockFolder_.isEmpty()) return false;
    return lock_.tryLock(100);
}

QString SingleInstance::whyNot() const {
    const QFileInfo info(folder_);
    if (!info.isDir()) return QStringLiteral("フォルダがありません。");
    if (!info.isWritable()) return QStringLiteral("書き込みが許可されていません。");
    return QStringLiteral("ロックファイルを作成できません。");
}

}  // namespace morv
