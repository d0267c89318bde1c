#pragma once
// The blood-pressure reading of a logged day: which day a date box names and
// which of the two typed numbers is stored as the lower one.

#include "storage/Records.h"

#include <QString>

namespace morv {

// The first record whose date equals the text exactly (no normalising:
// "2024/3/5" does not find "2024/03/05"); -1 when there is none.
qsizetype FindLogDate(const LogList& log, const QString& date);

struct PressureReading {
    QString low;
    QString high;
};

// The two boxes' texts, the lower first: the second box is the lower only when
// its value is not above the first's, so equal values store the second box's
// text as the lower. The texts are kept as typed ("080" stays "080").
PressureReading OrderReading(const QString& first, const QString& second);

// Whether a day carries a reading that can be deleted: both parts are numbers.
bool HasReading(const LogRecord& record);

}  // namespace morv
