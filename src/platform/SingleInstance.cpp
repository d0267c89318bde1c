#include "platform/SingleInstance.h"

#include "platform/core/LockFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace morv {
QString SingleInstance::RuntimeLockFolder() { return FindLockFolder().path; }

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

QString SingleInstance::lockProblemText() const {
    const QFileInfo info(folder_);
    if (!info.isDir() || !info.isWritable()) return {};
    if (lockFolder_.isEmpty()) {
        const LockFolder found = FindLockFolder();
        return LockFolderUnusableText(found.failed, found.why);
    }
    return LockFolderUnusableText(lockFolder_, QStringLiteral("ロックファイルを作成できません。"));
}

}  // namespace morv
