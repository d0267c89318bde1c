#pragma once
// What the item-data and daily-log exchanges share: files of the user's
// choice (written whole or not at all by ReplaceFileDurably), read only when
// they are small enough and proper CP932, and the texts around them.

#include "storage/ImportFaults.h"

#include <QString>

namespace morv {

inline const QString ExportFailedText = QStringLiteral("ファイルの作成に失敗しました");
inline const QString ImportFailedText = QStringLiteral("ファイルの取り込みに失敗しました");
inline const QString ImportRefusedText = QStringLiteral("指定されたファイルは取り込みできません");
inline const QString AdoptFailedText = QStringLiteral("データの保存に失敗しました");
inline const QString AdoptedText = QStringLiteral("ファイルの内容を上書きしました");

// No file the program writes comes near this; a larger one is not read at all.
inline constexpr qint64 MaxExchangeFileBytes = 16 * 1024 * 1024;

// `prefix` + characters 1-4, 6-7 and 9-10 of the date text, less any "/",
// + ".TXT".
QString ProposedExportName(const QString& prefix, const QString& dateText);
// What the save dialog proposes for the daily log: "Morvaline(塩分一覧)" + the
// digits of the main date + ".TXT".
QString DefaultLogFileName(const QString& mainDate);
// A chosen path without ".TXT" anywhere in it (in any case) gets ".TXT".
QString WithTxtExtension(const QString& path);
// The part of a path after its last "/".
QString FileNameOf(const QString& path);
QString OverwriteQuestion(const QString& path);
QString ExportedNotice(const QString& path);

enum class ExchangeRead {
    Read,     // `text` holds the decoded file
    Missing,  // no such file
    Refused,  // not a plain file, too large, or not CP932 (UTF-8 beyond ASCII is not)
    Failed,   // could not be read
};
// `limit`: the largest file, in bytes, that is read. `why`, if given, gets
// the reason for a refusal.
ExchangeRead ReadExchangeFile(const QString& path, QString& text, qint64 limit = MaxExchangeFileBytes,
                              QString* why = nullptr);

// Why a file was refused or broke off, for the status line beside the
// refusal message, so that the user knows what to change.
inline const QString NotCp932Text = QStringLiteral("文字コードがShift_JIS(CP932)ではありません");
inline const QString NotAFileText = QStringLiteral("通常のファイルではありません");
QString TooLargeText(qint64 limit);

}  // namespace morv
