#pragma once
// The built-in food table: sodium and salt equivalent per 100 g of the edible
// part, as the Standard Tables of Food Composition in Japan 2020 give them
// (data/foods/foods.tsv, made by tools/foods/derive_foods.py).

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

namespace morv {

// The tables' own markers, kept apart from 0: "Tr" (a trace, counted as 0) and
// "-" (not measured).
inline constexpr int FigureTrace = -1;
inline constexpr int FigureUnknown = -2;

struct Food {
    int number = 0;                  // 7022 for 07022; the group is number / 1000
    int sodium = FigureUnknown;      // mg per 100 g
    int saltTenths = FigureUnknown;  // tenths of a gram per 100 g
    QString name;                    // as in the tables
    // Search keys (FoodSearch.h): the readable name, U+001F, the leading
    // markers; the second with kanji words in kana, empty when the same.
    QString key;
    QString kanaKey;
    int group() const { return number / 1000; }
    bool measured() const { return sodium != FigureUnknown; }
};

class FoodTable {
public:
    // Nothing, with `error` set, for a text that is not a food table.
    static std::optional<FoodTable> Parse(QByteArrayView utf8, QString* error = nullptr);
    // The table compiled into the program, read at the first call; null when
    // it cannot be read (a broken build).
    static const FoodTable* Builtin();

    const std::vector<Food>& foods() const { return foods_; }
    // "" for a group the table does not name.
    QString groupName(int group) const;

private:
    std::vector<Food> foods_;
    std::vector<QString> groups_;  // by group number
};

inline const QString FoodResourcePath = QStringLiteral(":/foods/foods.tsv");

// "07022".
QString FoodNumberText(const Food& food);
// The name without the leading markers that only repeat the food's place in
// the tables' groups (＜魚類＞　（あじ類）　まあじ　生 is まあじ　生).
QString ReadableName(QStringView name);
// Per 100 g as shown: "7200" / "18.2", "微量" for a trace, "不明" when not measured.
QString SodiumFigureText(int sodium);
QString SaltFigureText(int saltTenths);

}  // namespace morv
