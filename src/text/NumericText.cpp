#include "text/NumericText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

namespace morv {
namespace {

bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace

std::optional<double> NumericValue(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;

    bool negative = false;
    if (begin < end && (text[begin] == u'+' || text[begin] == u'-')) {
        negative = text[begin] == u'-';
        ++begin;
    }

    // Checked by hand rather than left to the parser: from_chars would take a
    // prefix, and the accepted alphabet is deliberately narrower than what any
    // parser reads (no exponent, no hex, no "inf").
    std::string body;
    body.reserve(static_cast<size_t>(end - begin));
    bool seenPoint = false;
    bool seenDigit = false;
    bool nonZeroBeforePoint = false;
    for (qsizetype i = begin; i < end; ++i) {
        const char16_t c = text[i].unicode();
        if (IsDigit(c)) {
            seenDigit = true;
            if (!seenPoint && c != u'0') nonZeroBeforePoint = true;
        } else if (c == u'.' && !seenPoint) {
            seenPoint = true;
        } else {
            return std::nullopt;
        }
        body.push_back(static_cast<char>(c));
    }
    if (!seenDigit) return std::nullopt;

    double value = 0;
    const char* first = body.data();
    const char* last = first + body.size();
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (ec == std::errc::result_out_of_range) {
        // Too large for a double is no usable amount; a long run of zeros
        // after the point is just a very small one.
        if (nonZeroBeforePoint) return std::nullopt;
        value = 0;
    } else if (ec != std::errc() || ptr != last) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

bool IsNumeric(QStringView text) { return NumericValue(text).has_value(); }

double ValueOf(QStringView text) { return NumericValue(text).value_or(0.0); }

QString NumberText(double x) {
    if (!std::isfinite(x)) return QString();
    if (x == 0) return QStringLiteral("0");

    // "%.14e" gives the correctly rounded 15 significant digits; only the
    // decimal point has to move. The C locale is never changed by this
    // program, but the point is located by position rather than by
    // character so a different one would not matter.
    char buffer[32];
    const int len = std::snprintf(buffer, sizeof buffer, "%.14e", x);
    if (len <= 0 || len >= static_cast<int>(sizeof buffer)) return QString();

    const char* p = buffer;
    const bool negative = *p == '-';
    if (negative) ++p;
    std::string digits;
    digits.push_back(*p++);
    ++p;  // the decimal point
    while (*p >= '0' && *p <= '9') digits.push_back(*p++);
    if (*p != 'e') return QString();
    const int exponent = std::atoi(p + 1);

    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string out;
    if (negative) out.push_back('-');
    if (exponent >= 0) {
        const size_t wholeDigits = static_cast<size_t>(exponent) + 1;
        if (digits.size() <= wholeDigits) {
            out += digits;
            out.append(wholeDigits - digits.size(), '0');
        } else {
            out.append(digits, 0, wholeDigits);
            out.push_back('.');
            out.append(digits, wholeDigits, std::string::npos);
        }
    } else {
        out += "0.";
        out.append(static_cast<size_t>(-exponent - 1), '0');
        out += digits;
    }
    // Rounding to 15 digits cannot reach zero for a non-zero double, so "-0"
    // cannot come out of here; x == 0 (including -0.0) was answered above.
    return QString::fromLatin1(out);
}

QString CutDecimals(const QString& text, int n) {
    const qsizetype point = text.indexOf(u'.');
    if (point < 0) return text;
    const qsizetype keep = point + 1 + std::max(n, 0);
    return keep >= text.size() ? text : text.left(keep);
}

}  // namespace morv
