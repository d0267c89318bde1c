#pragma once
// The seasoning calculator's sums: the total of the ticked rows, the side
// calculator's free multiplier and addition, and carrying the total into a
// grid salt box. The portion buttons use the grid's own arithmetic
// (grid/core/SaltArithmetic.h). No result means the box is left as it is.

#include <QString>
#include <QStringView>
#include <optional>
#include <span>

namespace morv {

// One row as the total sees it.
struct CountedRow {
    bool ticked = false;
    QString name;
    QString salt;
};

// The salt of every ticked row with a name (blanks count as a name) and a
// numeric row salt, cut to two decimals: "0" when nothing counts.
QString SeasoningTotalText(std::span<const CountedRow> rows);

// "倍": the value times a typed multiplier, cut to three decimals.
std::optional<QString> ScaledBy(QStringView value, QStringView multiplier);

// "追加": the side calculator's value added to the extra row, not cut. An
// extra row that holds no number takes the side value's text as it stands.
std::optional<QString> AddedToExtra(const QString& extra, const QString& side);

// "塩分加算": the carried total added to a grid salt box, cut to three
// decimals; a box that holds no number takes the carried text.
std::optional<QString> CarriedInto(const QString& box, const QString& carried);

// The text a row's hint line returns to after a hint: rows 0..2 carry notes.
QString RestingHint(int row);

}  // namespace morv
