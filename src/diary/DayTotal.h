#pragma once
#include "storage/Records.h"

#include <QString>

namespace morv {

// An item counts toward the day's total (and colours its page, and is listed as
// selected) when it is ticked, named and its salt is a number.
bool IsSelectedItem(const ItemRecord& item);

// The day's salt over slots 0..159, as shown: cut, never rounded, to two
// decimals, a whole number without a point (0, 7, 6.05).
QString DayTotalText(const ItemList& items);

// The total is over the target when the target is a number smaller than the
// shown (cut) total; an empty or non-numeric target never is.
bool TotalOverTarget(const QString& totalText, const QString& target);

}  // namespace morv
