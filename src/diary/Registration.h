#pragma once
// Where a day goes in the daily log. Registration keeps the log in ascending
// text order of its dates with each date at most once; an imported log may be
// in any order and is then only added to, never reordered.

#include "storage/Records.h"

#include <QString>

namespace morv {

struct LogPlace {
    enum class Kind { Existing, Before, Append };
    Kind kind;
    int index;  // the existing record, or the record the new day goes before
};

LogPlace FindLogPlace(const LogList& log, const QString& date);
// The same place in a log whose dates are in strictly ascending text order,
// found by halving rather than by scanning.
LogPlace FindLogPlaceInOrder(const LogList& log, const QString& date);
// Whether every date of the log comes strictly after the one before it.
bool IsInDateOrder(const LogList& log);

// Stores the day's salt at its place: a new day gets empty blood pressure; an
// existing day keeps its blood pressure and only its salt changes.
void RegisterDay(LogList& log, const LogPlace& place, const QString& date, const QString& salt);

// The confirmation after a registration.
QString RegisteredText(const QString& date, const QString& salt);

}  // namespace morv
