#include "log/core/ReportFiles.h"

#include "log/core/LogExchange.h"
#include "storage/UsualLog.h"
#include "text/Cp932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace morv {
namespace {

enum class Read { Done, Missing, Failed };

// A regular file only: a FIFO in the folder must not block the report.
Read readFile(const QString& path, QByteArray& bytes) {
    const QFileInfo info(path);
    if (!info.exists()) return Read::Missing;
    if (!info.isFile() || info.size() > MaxLogFileBytes) return Read::Failed;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return Read::Failed;
    bytes = file.read(MaxLogFileBytes + 1);
    return bytes.size() <= MaxLogFileBytes && file.error() == QFile::NoError ? Read::Done : Read::Failed;
}

// X.bak when a save left one, else X.txt.
Read readData(const QString& folder, const QString& stem, QByteArray& bytes, QString& name) {
    name = stem + QStringLiteral(".bak");
    if (QFileInfo(folder + name).isFile()) return readFile(folder + name, bytes);
    name = stem + QStringLiteral(".txt");
    return readFile(folder + name, bytes);
}

}  // namespace

bool ReadReportSource(const QString& folder, ReportSource& source, QString& why) {
    source = {};
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isReadable() || !info.isExecutable()) {
        why = QStringLiteral("データフォルダを読めません: %1").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    QByteArray bytes;
    QString name;
    switch (readData(folder, QStringLiteral("Enbun"), bytes, name)) {
        case Read::Missing:
            break;
        case Read::Failed:
            why = QStringLiteral("%1 を読めません").arg(folder + name);
            return false;
        case Read::Done:
            if (ParseLog(bytes, source.log) == LogParse::Broken) {
                why = QStringLiteral("%1 の形式が正しくありません").arg(folder + name);
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
