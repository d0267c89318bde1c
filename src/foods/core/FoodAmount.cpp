#include "foods/core/FoodAmount.h"

#include "grid/core/SaltArithmetic.h"
#include "text/NumericText.h"

#include <cmath>

namespace morv {

std::optional<FoodAmount> AmountFor(const Food& food, QStringView grams) {
    const std::optional<double> g = NumericValue(grams);
    if (!food.measured() || !g || !(*g > 0) || *g > 1e9) return std::nullopt;
    const double perHundred = food.sodium == FigureTrace ? 0 : food.sodium;
    // Whole tenths of a milligram: finer than any label, and short in the box.
    const QString sodium = NumberText(std::round(perHundred * *g / 10) / 10);
    const std::optional<QString> salt = SodiumToSalt(sodium);
    if (!salt) return std::nullopt;
    return FoodAmount{sodium, *salt};
}

std::optional<ItemRecord> ItemFor(const Food& food, QStringView grams) {
    const std::optional<FoodAmount> amount = AmountFor(food, grams);
    if (!amount) return std::nullopt;
    return ItemRecord{QStringLiteral("1"), ReadableName(food.name), amount->sodium, amount->salt};
}

}  // namespace morv
