#pragma once
// A food's figures for the grams eaten, and the grid row they make.

#include "foods/core/FoodTable.h"
#include "storage/Records.h"

#include <QString>
#include <QStringView>
#include <optional>

namespace morv {

struct FoodAmount {
    QString sodium;  // mg, as the sodium box takes it
    QString salt;    // g, converted from that sodium as the row's "塩分換算" does
};

// Nothing for a food whose sodium was not measured, or grams that are not a
// number above 0. A trace counts as 0.
std::optional<FoodAmount> AmountFor(const Food& food, QStringView grams);

// The row for a food eaten: its readable name, the sodium and salt of the
// amount, ticked. Nothing where AmountFor gives nothing.
std::optional<ItemRecord> ItemFor(const Food& food, QStringView grams);

}  // namespace morv
