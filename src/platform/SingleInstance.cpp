#include "platform/SingleInstance.h"

#include <QFileInfo>

namespace morv {

SingleInstance::SingleInstance(const QString& folder)
    : folder_(folder), lock_(folder + QStringLiteral("Morvaline.lock")) {
    // Never treat a live holder's lock as stale by age; a dead holder's lock is
    // still detected through its process id.
    lock_.setStaleLockTime(0);
}

bool SingleInstance::acquire() { return lock_.tryLock(100); }

QString SingleInstance::whyNot() const {
    const QFileInfo info(folder_);
    if (!info.isDir()) return QStringLiteral("フォルダがありません。");
    if (lock_.error() == QLockFile::PermissionError || !info.isWritable())
        return QStringLiteral("書き込みが許可されていません。");
    return QStringLiteral("ロックファイルを作成できません。");
}

}  // namespace morv
