#include "diary/KeptCopyText.h"

#include "diary/DataKinds.h"

namespace morv {
namespace {

using Because = DataFiles::KeptBecause;

// What the diary shows in place of the file's content.
QString ShownInstead(const QString& file, Because because) {
    const DataKind* kind = KindOfName(file);
    if (!kind) return {};
    return QString::fromUtf8(because == Because::Unreadable ? kind->shownWhenUnreadable
                                                            : kind->shownWhenChanged);
}

}  // namespace

QString KeptCopiesText(const std::vector<DataFiles::KeptCopy>& kept, KeptWhen when) {
    // What the diary shows instead: while running, a file with nothing
    // usable in it leaves the data in memory as it was.
    auto shown = [when](const QString& file, Because because) {
        return when == KeptWhen::KeptInMemory
                   ? QStringLiteral("この画面の内容はそのまま残し、次の保存で書き戻します。")
                   : ShownInstead(file, because);
    };
    QStringList parts;
    bool copied = false;
    for (const DataFiles::KeptCopy& k : kept) {
        QString part;
        copied = copied || !k.copy.isEmpty();
        if (k.copy.isEmpty()) {
            // The copy could not be made: the file is left exactly as it is.
            const QString notSaved =
                QStringLiteral(
                    "元の内容を別のファイルに残せませんでした (ディスクの空きが足りないなど)。"
                    "残せるようになるまで「%1」はそのままにして、保存しません。")
                    .arg(k.file);
            if (k.because == Because::Replaced) {
                part =
                    QStringLiteral("「%1」の保存が途中で終わっていたため、その前の内容を表示しています。\n%2")
                        .arg(k.file, notSaved);
            } else {
                const QString why = k.tooLarge
                                        ? QStringLiteral("読み込めませんでした (ファイルが大きすぎます)")
                                    : k.because == Because::Unreadable
                                        ? QStringLiteral("読み込めませんでした")
                                        : QStringLiteral("そのままの形では読み込めませんでした");
                part =
                    QStringLiteral("「%1」を%2。%3\n%4").arg(k.file, why, shown(k.file, k.because), notSaved);
            }
        } else if (k.file.endsWith(QLatin1String(".bak"))) {
            part = QStringLiteral("「%1」はバックアップとして使えないため、別の名前に変えました。\n%2")
                       .arg(k.file, k.copy);
        } else if (k.because == Because::Elsewhere) {
            part = QStringLiteral(
                       "「%"
                       "1」はほかの場所でも変更されていたため、置き換える前の内容を次のファイルに残しました。"
                       "\n%2")
                       .arg(k.file, k.copy);
        } else if (k.because == Because::Replaced) {
            part = QStringLiteral(
                       "「%1」の保存が途中で終わっていたため、その前の内容に戻しました。"
                       "戻す前の内容は次のファイルに残しました。\n%2")
                       .arg(k.file, k.copy);
        } else if (k.notAFile) {
            // A FIFO or a device has no content to keep: only its name moved.
            part = QStringLiteral(
                       "「%1」はふつうのファイルではない (FIFO やデバイス、それへのリンクなど) ため、"
                       "読み込まずに次の名前に変えました。\n%2\n%3")
                       .arg(k.file, k.copy, shown(k.file, k.because));
        } else {
            const QString why = k.tooLarge ? QStringLiteral("ファイルが大きすぎて読み込めなかった")
                                : k.because == Because::Unreadable
                                    ? QStringLiteral("読み込めなかった")
                                    : QStringLiteral("そのままの形では読み込めなかった");
            part = QStringLiteral("「%1」を%2ため、元の内容を次のファイルに残しました。\n%3\n%4")
                       .arg(k.file, why, k.copy, shown(k.file, k.because));
        }
        parts << part;
    }
    QString text = parts.join(QStringLiteral("\n\n"));
    if (copied) text += QStringLiteral("\n\n次の保存では、表示している内容でファイルを置き換えます。");
    return text;
}

QString HeldBackLine(const QStringList& files) {
    if (files.isEmpty()) return {};
    return QStringLiteral("「%1」の元の内容を残せないため保存していません")
        .arg(files.join(QStringLiteral("」「")));
}

}  // namespace morv
