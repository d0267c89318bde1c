#pragma once
// The arithmetic behind a grid row's conversion and portion buttons. Results
// are the texts to write into the row's salt box; no result means the row is
// to be left as it is.

#include <QString>
#include <QStringView>
#include <optional>

namespace morv {

enum class SaltOperation { Times2, Times3, Times5, Half, Third, Fifth };

// Milligrams of sodium as grams of salt (x 2.54 / 1000), cut to two decimals.
// No result for a text that is not a number, or a number so large that the
// salt is beyond the double range.
std::optional<QString> SodiumToSalt(QStringView sodiumText);

// A salt scaled by a portion button, cut to three decimals. The divisions work
// in whole thousandths of a gram held as a 32-bit integer, so that a third of
// 1 is 0.333 and half of 0.001 is 0. No result for a text that is not a
// number, a product beyond the double range, or a salt whose thousandths do not
// fit 32 bits.
std::optional<QString> MultiplySalt(QStringView saltText, SaltOperation operation);

}  // namespace morv
