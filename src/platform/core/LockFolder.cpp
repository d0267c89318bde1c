#include "platform/core/LockFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QtGlobal>

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

namespace morv {
namespace {

enum class WhenOpen { Refuse, Close };

// Empty when `path` is a real folder (no link) of this user's, closed to
// everyone else; otherwise why not. An open one is closed only when it is
// the program's own (`Close`): the session's runtime folder is not ours to
// change, whatever its mode.
QString OwnClosedFolder(const QString& path, WhenOpen whenOpen) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (::lstat(name.constData(), &st) != 0) return qt_error_string(errno);
    if (S_ISLNK(st.st_mode)) return QStringLiteral("シンボリックリンクです。");
    if (!S_ISDIR(st.st_mode)) return QStringLiteral("フォルダではありません。");
    if (st.st_uid != ::geteuid()) return QStringLiteral("ほかのユーザーのフォルダです。");
    if ((st.st_mode & 077) == 0) return {};
    if (whenOpen == WhenOpen::Refuse) return QStringLiteral("ほかのユーザーにも開いているフォルダです。");
    if (::chmod(name.constData(), 0700) != 0) return qt_error_string(errno);
    return {};
}

QString CacheHome() {
    const QString xdg = qEnvironmentVariable("XDG_CACHE_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg)) return QDir::cleanPath(xdg);
    const QString home = qEnvironmentVariable("HOME");
    if (!home.isEmpty() && QDir::isAbsolutePath(home))
        return QDir::cleanPath(home + QLatin1String("/.cache"));
    return {};
}

}  // namespace

LockFolder FindLockFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) &&
        OwnClosedFolder(runtime, WhenOpen::Refuse).isEmpty())
        return {QDir::cleanPath(runtime), {}, {}};
    const QString cache = CacheHome();
    if (cache.isEmpty())
        return {{},
                QStringLiteral("~/.cache/morvaline"),
                QStringLiteral("HOME (または XDG_CACHE_HOME) に絶対パスが設定されていません。")};
    const QString folder = cache + QLatin1String("/morvaline");
    // The cache folder and its parents are the user's: made as a usual umask
    // would when missing (mkpath would give 0777 under umask 000).
    QStringList missing;
    for (QString parent = cache; !QFileInfo::exists(parent) && QFileInfo(parent).path() != parent;
         parent = QFileInfo(parent).path())
        missing.prepend(parent);
    for (const QString& parent : missing) ::mkdir(QFile::encodeName(parent).constData(), 0755);
    if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST)
        return {{}, folder, qt_error_string(errno)};
    // "morvaline" in the cache folder is the program's own: only it makes one.
    if (const QString why = OwnClosedFolder(folder, WhenOpen::Close); !why.isEmpty())
        return {{}, folder, why};
    return {folder, {}, {}};
}

QString LockFolderUnusableText(const QString& folder, const QString& why) {
    return QStringLiteral(
               "同時に 2 つ起動しないためのロックを置くフォルダを使えないため、終了します。\n\n%1: %2")
        .arg(folder, why);
}

}  // namespace morv
