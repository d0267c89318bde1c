#pragma once
// How the grid's ten pages of sixteen rows map onto the item table, and what a
// page or a row shows of its records.

#include "storage/Records.h"

#include <QString>
#include <QStringView>

namespace morv {

inline constexpr int GridRows = 16;
inline constexpr int GridPages = 10;

// The table slot shown by a row of a page, or -1 when page or row is out of range.
int SlotOf(int page, int row);

// A name as it is stored: without leading or trailing blanks (spaces, tabs and
// the full-width space an input method types), so that a name of blanks only
// leaves the item unnamed.
QString TrimBlanks(QStringView name);

// A tick shows only for "1", the one value that counts toward the total; any
// other text, including one from a hand-edited file, shows unticked.
bool ShowsTicked(const QString& checked);

// What a page button shows of its page's records: nothing named, something
// named, or something that counts toward the day's total.
enum class PageMark { Empty, Named, Counted };
PageMark MarkOfPage(const ItemList& items, int page);

}  // namespace morv
