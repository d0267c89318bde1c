#pragma once
// The daily-log exchange file: Enbun.txt's own lines (EnbunBytes writes both),
// one record of four fields per day, in the log's order.

#include "storage/Records.h"

#include <QString>
#include <QtGlobal>

namespace morv {

// A log the program writes takes about 28 bytes a day, so this is room for
// well over a million days; a larger file is not read at all.
inline constexpr qint64 MaxLogFileBytes = 64 * 1024 * 1024;

enum class LogCheck {
    Accepted,
    Refused,  // empty, or a record with a bad date, salt or reading
    Broken,   // the fields do not come in fours
};

// The check and the load in one pass. When Accepted, `log` holds the records
// exactly as written, in file order: dates not rewritten, nothing sorted or
// merged. Otherwise `log` is empty. Whichever fault comes first decides.
// `why`, if given, gets the reason when the text is not accepted.
LogCheck ReadLogExchange(const QString& text, LogList& log, QString* why = nullptr);

}  // namespace morv
