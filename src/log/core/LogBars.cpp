#include "log/core/LogBars.h"

#include "text/NumericText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace morv {

static double held(double twips) { return std::clamp(twips, -BarTwipsLimit, BarTwipsLimit); }

SaltBar SaltBarFor(QStringView daySalt, QStringView saltTarget) {
    SaltBar bar;
    const auto salt = NumericValue(daySalt);
    if (!salt) return bar;
    bar.width = held(std::max(0.0, *salt * TwipsPerGram));
    const auto target = NumericValue(saltTarget);
    bar.overTarget = target && *target < *salt;
    return bar;
}

PressureBar PressureBarFor(const QString& low, const QString& high, qint32 barShift) {
    PressureBar bar;
    const auto lowValue = NumericValue(low);
    const auto highValue = NumericValue(high);
    if (!lowValue || !highValue) return bar;
    bar.shown = true;
    bar.left = held(*lowValue * TwipsPerMmHg + (static_cast<double>(barShift) + PressureZeroOffset));
    bar.width = held(std::max(0.0, (*highValue - *lowValue) * TwipsPerMmHg));
    bar.caption = low + QLatin1Char('-') + high;
    return bar;
}

qint32 ShiftBarsLeft(qint32 barShift) {
    return static_cast<qint32>(std::max<qint64>(0, qint64{barShift} - PressureShiftStep));
}

qint32 ShiftBarsRight(qint32 barShift) {
    return static_cast<qint32>(
        std::min<qint64>(std::numeric_limits<qint32>::max(), qint64{barShift} + PressureShiftStep));
}

double HeldTwips(double twips) { return held(twips); }

}  // namespace morv
