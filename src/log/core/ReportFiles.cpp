#include "log/core/ReportFiles.h"

#include "storage/LogExchange.h"
#include "storage/UsualLog.h"
#include "text/Cp932.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace morv {
namespace {

enum class Read { Done, Missing, Failed, TooLarge };

// A regular file only: a FIFO in the folder must not block the report.
Read readFile(const QString& path, QByteArray& bytes) {
    const QFileInfo info(path);
    if (!info.exists()) return Read::Missing;
    if (!info.isFile()) return Read::Failed;
    if (info.size() > MaxLogFileBytes) return Read::TooLarge;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return Read::Failed;
    bytes = file.read(MaxLogFileBytes + 1);
    if (bytes.size() > MaxLogFileBytes) return Read::TooLarge;  // it grew since
    return file.error() == QFile::NoError ? Read::Done : Read::Failed;
}

// X.bak when a save left one, else X.txt.
Read readData(const QString& folder, const QString& stem, QByteArray& bytes, QString& name) {
    name = stem + QStringLiteral(".bak");
    if (QFileInfo(folder + name).isFile()) return readFile(folder + name, bytes);
    name = stem + QStringLiteral(".txt");
    return readFile(folder + name, bytes);
}

// The path with every link and "..", also for a file not yet made: its
// folder's canonical path and its name.
QString canonicalTarget(const QString& path) {
    const QFileInfo info(path);
    if (info.exists()) return info.canonicalFilePath();
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + info.fileName();
}

}  // namespace

ReportTarget CheckReportTarget(const QString& path, const QString& dataFolder) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) return ReportTarget::NotRegular;
        // No write bit at all counts for root too, as it does for the data files.
        if ((st.st_mode & 0222) == 0 || ::access(name.constData(), W_OK) != 0) return ReportTarget::ReadOnly;
    } else if (::lstat(name.constData(), &st) == 0) {
        return ReportTarget::NotRegular;  // a link to nothing: where it would write is not what was named
    }
    const QString target = canonicalTarget(path);
    if (target.isEmpty()) return ReportTarget::Allowed;  // no such folder: the write fails and says so
    QString folder = QFileInfo(dataFolder).canonicalFilePath();
    if (!folder.isEmpty() && (target == folder || target.startsWith(folder + QLatin1Char('/'))))
        return ReportTarget::InDataFolder;
    // A data file may be a link into a synced folder; the file it leads to is the diary too.
    for (const char* stem : {"Kiroku", "Chomi", "Enbun", "Moku", "Atu"})
        for (const char* end : {".txt", ".bak"}) {
            const QString file =
                QFileInfo(dataFolder + QLatin1String(stem) + QLatin1String(end)).canonicalFilePath();
            if (!file.isEmpty() && file == target) return ReportTarget::InDataFolder;
        }
    return ReportTarget::Allowed;
}

bool ReadReportSource(const QString& folder, ReportSource& source, QString& why, HelpLanguage language) {
    const bool ja = language == HelpLanguage::Japanese;
    source = {};
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isReadable() || !info.isExecutable()) {
        why = (ja ? QStringLiteral("データフォルダを読めません: %1")
                  : QStringLiteral("cannot read the data folder: %1"))
                  .arg(QDir::toNativeSeparators(folder));
        return false;
    }
    QByteArray bytes;
    QString name;
    switch (readData(folder, QStringLiteral("Enbun"), bytes, name)) {
        case Read::Missing:
            break;
        case Read::Failed:
            why = (ja ? QStringLiteral("%1 を読めません") : QStringLiteral("cannot read %1"))
                      .arg(folder + name);
            return false;
        case Read::TooLarge:
            why = (ja ? QStringLiteral("%1 を読めません: ファイルが大きすぎます（%2 MBまで）")
                      : QStringLiteral("cannot read %1: the file is too large (at most %2 MB)"))
                      .arg(folder + name)
                      .arg(MaxLogFileBytes / (1024 * 1024));
            return false;
        case Read::Done:
            if (ParseLog(bytes, source.log) == LogParse::Broken) {
                why = (ja ? QStringLiteral("%1 の形式が正しくありません") : QStringLiteral("%1 is not a log"))
                          .arg(folder + name);
                source.log.clear();
                return false;
            }
            break;
    }
    // The target only colours the days; a Moku.txt that cannot be read
    // leaves it unset, as it does in the window.
    if (readData(folder, QStringLiteral("Moku"), bytes, name) == Read::Done) {
        const QString text = DecodeCp932(bytes);
        qsizetype end = 0;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
        source.target = text.left(end);
    }
    return true;
}

}  // namespace morv
