#include "seasoning/core/SeasoningSums.h"

#include "text/NumericText.h"

#include <cmath>

namespace morv {
namespace {

constexpr int TotalDecimals = 2;
constexpr int ScaledDecimals = 3;

// A result beyond the double range (only pasted numbers of hundreds of digits
// get there) has no text; the box keeps what it held.
std::optional<QString> textOf(double value, int decimals) {
    if (!std::isfinite(value)) return std::nullopt;
    const QString text = NumberText(value);
    return decimals > 0 ? CutDecimals(text, decimals) : text;
}

}  // namespace

QString SeasoningTotalText(std::span<const CountedRow> rows) {
    double sum = 0;
    for (const CountedRow& row : rows) {
        if (!row.ticked || row.name.isEmpty()) continue;
        if (const auto salt = NumericValue(row.salt)) sum += *salt;
    }
    return textOf(sum, TotalDecimals).value_or(QStringLiteral("0"));
}

std::optional<QString> ScaledBy(QStringView value, QStringView multiplier) {
    const auto v = NumericValue(value);
    const auto m = NumericValue(multiplier);
    if (!v || !m) return std::nullopt;
    return textOf(*v * *m, ScaledDecimals);
}

std::optional<QString> AddedToExtra(const QString& extra, const QString& side) {
    const auto e = NumericValue(extra);
    if (!e) return side;
    const auto s = NumericValue(side);
    if (!s) return extra;
    return textOf(*e + *s, 0);
}

std::optional<QString> CarriedInto(const QString& box, const QString& carried) {
    const auto b = NumericValue(box);
    if (!b) return carried;
    return textOf(ValueOf(carried) + *b, ScaledDecimals);
}

QString RestingHint(int row) {
    switch (row) {
        case 0:
            return QStringLiteral("※表示されている値は目安です");
        case 1:
            return QStringLiteral("※項目と塩分は書き換えできます");
        case 2:
            return QStringLiteral("※項目名削除で初期値に戻します");
        default:
            return {};
    }
}

}  // namespace morv
