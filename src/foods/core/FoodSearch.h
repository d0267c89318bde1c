#pragma once
// Finding foods by what a user types: hiragana and katakana match each other,
// full and half width match, blanks and brackets are ignored, and every word
// of the query must match.

#include "foods/core/FoodTable.h"

#include <QString>
#include <QStringView>
#include <vector>

namespace morv {

// The form both names and queries are compared in: NFKC (full width to half,
// half-width kana to full), katakana as hiragana, lower case, without blanks,
// brackets and the middle dot.
QString SearchKey(QStringView text);

// The keys of a food (Food::key, Food::kanaKey) from its name and kana name.
void SetSearchKeys(Food& food, QStringView kanaName);

// Indexes into table.foods() of the foods whose name holds every word of the
// query: names that start with the first word first, then shorter names, then
// by food number. An empty query gives every food in the table's order.
std::vector<int> SearchFoods(const FoodTable& table, QStringView query);

}  // namespace morv
