#pragma once
// Amounts live as the text the user typed or the program showed; these helpers
// decide whether such a text is a number and turn doubles back into text.
// Everything here is locale-independent: "." is always the decimal point.

#include <QString>
#include <QStringView>
#include <optional>

namespace morv {

// A text is numeric when, after surrounding blanks (space, tab), it is an
// optional sign followed by ASCII digits with at most one ".", and at least one
// digit: "1.", ".5", "+2", " -3 " are numeric; "", ".", "+", "1e3", "0x10",
// "1,000", full-width digits and values beyond the double range are not.
std::optional<double> NumericValue(QStringView text);
bool IsNumeric(QStringView text);
// The value of a numeric text, 0 for any other text.
double ValueOf(QStringView text);

// A finite double as plain decimal text: at most 15 significant digits, no
// exponent, no thousands separators, no trailing zeros, "0" before the point
// below 1, and no "-0". Non-finite values give the empty text.
QString NumberText(double x);

// Keeps at most n characters after the first "."; never rounds. A text
// without "." stays whole.
QString CutDecimals(const QString& text, int n);

}  // namespace morv
