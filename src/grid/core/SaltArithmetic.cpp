#include "grid/core/SaltArithmetic.h"

#include "text/NumericText.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace morv {
namespace {

constexpr double SaltPerSodium = 2.54;
constexpr double MilligramsPerGram = 1000;
constexpr int ConvertedDecimals = 2;
constexpr int ScaledDecimals = 3;

int factorOf(SaltOperation operation) {
    switch (operation) {
        case SaltOperation::Times2:
        case SaltOperation::Half:
            return 2;
        case SaltOperation::Times3:
        case SaltOperation::Third:
            return 3;
        case SaltOperation::Times5:
        case SaltOperation::Fifth:
            return 5;
    }
    return 1;
}

bool divides(SaltOperation operation) {
    return operation == SaltOperation::Half || operation == SaltOperation::Third ||
           operation == SaltOperation::Fifth;
}

// Rounds to the nearest whole number, a tie going to the even neighbour.
// Written out rather than left to the floating-point environment's rounding
// mode; every step is exact for the magnitudes that reach it.
double roundHalfEven(double x) {
    const double below = std::floor(x);
    const double fraction = x - below;
    if (fraction > 0.5) return below + 1;
    if (fraction < 0.5) return below;
    return std::fmod(below, 2) == 0 ? below : below + 1;
}

// x in whole thousandths as a 32-bit integer; no result when it does not fit.
// The range is tested on the double, before any conversion, since converting
// an out-of-range double to an integer is undefined.
std::optional<std::int32_t> thousandths(double x) {
    const double scaled = x * 1000;
    if (!std::isfinite(scaled)) return std::nullopt;
    const double rounded = roundHalfEven(scaled);
    if (rounded < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

}  // namespace

std::optional<QString> SodiumToSalt(QStringView sodiumText) {
    const auto milligrams = NumericValue(sodiumText);
    if (!milligrams) return std::nullopt;
    // Multiplied first and divided second, so that 250 mg gives 0.635 and is
    // cut to 0.63 exactly as on paper.
    const double salt = *milligrams * SaltPerSodium / MilligramsPerGram;
    if (!std::isfinite(salt)) return std::nullopt;
    return CutDecimals(NumberText(salt), ConvertedDecimals);
}

std::optional<QString> MultiplySalt(QStringView saltText, SaltOperation operation) {
    const auto salt = NumericValue(saltText);
    if (!salt) return std::nullopt;
    const int k = factorOf(operation);
    double result = 0;
    if (divides(operation)) {
        const auto n = thousandths(*salt);
        if (!n) return std::nullopt;
        // Integer division drops the remainder toward zero: a division never
        // leaves less than one thousandth other than 0.
        result = (*n / k) / 1000.0;  // NOLINT(bugprone-integer-division): the remainder is meant to go
    } else {
        result = *salt * k;
        if (!std::isfinite(result)) return std::nullopt;
    }
    return CutDecimals(NumberText(result), ScaledDecimals);
}

}  // namespace morv
