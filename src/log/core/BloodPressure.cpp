#include "log/core/BloodPressure.h"

#include "text/NumericText.h"

namespace morv {

qsizetype FindLogDate(const LogList& log, const QString& date) {
    const auto n = static_cast<qsizetype>(log.size());
    const DateField wanted(date);
    for (qsizetype i = 0; i < n; ++i)
        if (log[static_cast<size_t>(i)].LogDate == wanted) return i;
    return -1;
}

PressureReading OrderReading(const QString& first, const QString& second) {
    if (ValueOf(second) > ValueOf(first)) return {first, second};
    return {second, first};
}

bool HasReading(const LogRecord& record) {
    return IsNumeric(record.PressureLow.view()) && IsNumeric(record.PressureHigh.view());
}

}  // namespace morv
