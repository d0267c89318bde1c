#pragma once
// Paging of the daily log, twenty days to a page. Page numbers come from text
// boxes the user can type or paste into, and the log can be long, so every
// step here is done in 64 bits and saturates instead of overflowing.

#include <QString>
#include <QStringView>
#include <QtGlobal>

namespace morv {

inline constexpr int LogRowsPerPage = 20;

// Page numbers read from text are held within this bound; it is far beyond
// the page count of any log that fits in memory.
inline constexpr qint64 PageNumberLimit = 1'000'000'000'000;

// How many pages a log of logCount days fills; at least 1, also when empty.
qint64 PageCount(qint64 logCount);

// The integer a page box holds, read the lenient way the boxes have always
// been read: leading blanks, an optional sign, then the leading digits; the
// rest is ignored and a text without digits is 0 ("" -> 0, "12ab" -> 12).
qint64 PageValue(QStringView text);

// The page actually shown for a typed page: below 1 is 1, beyond the last
// page is the last page.
qint64 ClampPage(qint64 typed, qint64 pageCount);

// "<" and ">": step one page, wrapping from the first page to the last and
// from the last to the first. A page typed out of range steps away from the
// typed value; ClampPage then corrects it.
qint64 PreviousPage(qint64 page, qint64 pageCount);
qint64 NextPage(qint64 page, qint64 pageCount);

// The index of the first log record on a page (page >= 1).
qint64 FirstRecordOfPage(qint64 page);

// How many rows of the page starting at record `first` hold a record.
int RowsOnPage(qint64 first, qint64 logCount);

}  // namespace morv
