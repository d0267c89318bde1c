#pragma once
// Why a file coming in was refused or broke off, as the readers of both
// exchange files (the item data's and the daily log's) tell it, for the
// status line beside the refusal message, so that the user knows what to
// change.

#include <QString>
#include <QtGlobal>

namespace morv {

inline const QString NoRecordsText = QStringLiteral("取り込むデータがありません");
inline const QString FieldsNotInFoursText = QStringLiteral("項目数が4の倍数ではありません");
// "3件目の塩分が数値ではありません": `what` is the record's field and fault.
inline QString BadRecordText(qsizetype record, const QString& what) {
    return QStringLiteral("%1件目の").arg(record) + what;
}
// Sets `*why` when asked for.
inline void Tell(QString* why, const QString& text) {
    if (why) *why = text;
}

}  // namespace morv
