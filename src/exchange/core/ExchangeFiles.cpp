#include "exchange/core/ExchangeFiles.h"

#include "text/Cp932.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace morv {
namespace {

bool IsUtf8BeyondAscii(const QByteArray& bytes) {
    if (std::all_of(bytes.cbegin(), bytes.cend(), [](char b) { return uchar(b) < 0x80; })) return false;
    // Every malformed sequence decodes to the replacement character.
    return !QString::fromUtf8(bytes).contains(QChar::ReplacementCharacter);
}

}  // namespace

QString ProposedExportName(const QString& prefix, const QString& dateText) {
    QString digits = dateText.mid(0, 4) + dateText.mid(5, 2) + dateText.mid(8, 2);
    // A date typed as 2024/1/5 would put a folder separator into the name.
    digits.remove(u'/');
    return prefix + digits + QLatin1String(".TXT");
}

QString DefaultLogFileName(const QString& mainDate) {
    return ProposedExportName(QStringLiteral("Morvaline(塩分一覧)"), mainDate);
}

QString WithTxtExtension(const QString& path) {
    if (path.contains(QLatin1String(".TXT"), Qt::CaseInsensitive)) return path;
    return path + QLatin1String(".TXT");
}

QString FileNameOf(const QString& path) { return path.mid(path.lastIndexOf(u'/') + 1); }

QString OverwriteQuestion(const QString& path) {
    return path + QStringLiteral("\r\n\r\nすでに同名のファイルが存在します\r\n上書きしますか？");
}

QString ExportedNotice(const QString& path) {
    return QStringLiteral("ファイルを出力しました\r\n\r\n( ") + path + QStringLiteral(" )");
}

QString TooLargeText(qint64 limit) {
    return QStringLiteral("ファイルが大きすぎます（%1MBまで）").arg(limit / (1024 * 1024));
}

ExchangeRead ReadExchangeFile(const QString& path, QString& text, qint64 limit, QString* why) {
    text.clear();
    Tell(why, {});
    QFile file(path);
    if (!file.exists()) return ExchangeRead::Missing;
    // A pipe or device would block the read or never end.
    if (!QFileInfo(path).isFile()) {
        Tell(why, NotAFileText);
        return ExchangeRead::Refused;
    }
    if (!file.open(QIODevice::ReadOnly)) return ExchangeRead::Failed;
    // The size is asked of the open file and the read is capped as well, so
    // a file that grows meanwhile cannot slip past the limit.
    if (file.size() > limit) {
        Tell(why, TooLargeText(limit));
        return ExchangeRead::Refused;
    }
    const QByteArray bytes = file.read(limit + 1);
    if (file.error() != QFileDevice::NoError) return ExchangeRead::Failed;
    if (bytes.size() > limit) {
        Tell(why, TooLargeText(limit));
        return ExchangeRead::Refused;
    }
    // A file saved as UTF-8 mostly decodes as CP932 too, into nonsense
    // kanji. Real CP932 text beyond ASCII is practically never valid UTF-8.
    if (IsUtf8BeyondAscii(bytes)) {
        Tell(why, NotCp932Text);
        return ExchangeRead::Refused;
    }
    text = DecodeCp932(bytes);
    // Bytes that are not CP932 come back as escapes; importing them would
    // show and later store mangled text.
    const bool undecodable = std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() >= Cp932ByteEscapeBase + 0x80 && c.unicode() <= Cp932ByteEscapeBase + 0xFF;
    });
    if (undecodable) {
        text.clear();
        Tell(why, NotCp932Text);
        return ExchangeRead::Refused;
    }
    return ExchangeRead::Read;
}

}  // namespace morv
