#include "storage/DataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtGlobal>

#include <sys/stat.h>
#include <cerrno>

namespace morv {
namespace {

QString WithSlash(const QString& folder) {
    if (folder.isEmpty()) return QStringLiteral("./");
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// The base of per-user data, or empty when it cannot be told: a relative
// path would depend on the current folder, which is no place for a diary.
QString UserDataHome() {
    const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg)) return xdg;
    const QString home = qEnvironmentVariable("HOME");
    if (!home.isEmpty() && QDir::isAbsolutePath(home)) return home + QLatin1String("/.local/share");
    return {};
}

}  // namespace

bool MakeDataFolder(const QString& path) {
    const QString folder = QDir::cleanPath(path);
    if (QFileInfo(folder).isDir()) return true;
    // Only our own folder is private; the parents are the user's, made as
    // a usual umask would (mkpath would give 0777 under umask 000).
    QStringList missing;
    for (QString parent = QFileInfo(folder).path(); !QFileInfo::exists(parent);
         parent = QFileInfo(parent).path()) {
        missing.prepend(parent);
        if (QFileInfo(parent).path() == parent) break;
    }
    for (const QString& parent : missing) ::mkdir(QFile::encodeName(parent).constData(), 0755);
    if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST) return false;
    // Whatever the umask left, nobody else on the machine reads health data.
    return ::chmod(QFile::encodeName(folder).constData(), 0700) == 0;
}

QString UserDataFolderPath() {
    const QString base = UserDataHome();
    return base.isEmpty() ? QString() : WithSlash(QDir::cleanPath(base + QLatin1String("/Tavelnor")));
}

QString LocateDataFolder(const QString& programFolder, QString* problem) {
    const QString base = UserDataHome();
    if (base.isEmpty()) {
        if (problem)
            *problem = QStringLiteral("HOME (または XDG_DATA_HOME) に絶対パスが設定されていません。");
        return WithSlash(programFolder);
    }
    const QString folder = QDir::cleanPath(base + QLatin1String("/Tavelnor"));
    MakeDataFolder(folder);
    if (!QFileInfo(folder).isDir()) {
        if (problem) {
            // mkpath does not say why; one more attempt does.
            const int error = ::mkdir(QFile::encodeName(folder).constData(), 0700) == 0 ? 0 : errno;
            *problem = QStringLiteral("%1: 作成できません (%2)").arg(folder, qt_error_string(error));
        }
        return WithSlash(programFolder);
    }
    // Health data: nobody else on the machine needs to read it.
    ::chmod(QFile::encodeName(folder).constData(), 0700);
    return WithSlash(folder);
}

QString DataFolderUnusableText(const QString& problem, const QString& folder, const QString& why) {
    QString text = QStringLiteral("データを保存するフォルダを使えないため、終了します。\n\n");
    if (!problem.isEmpty()) text += problem + QLatin1Char('\n');
    return text + QStringLiteral("%1: %2").arg(folder, why);
}

}  // namespace morv
