#pragma once
#include "storage/Records.h"

namespace morv {
// The twenty built-in seasonings (name with its unit in brackets, grams of salt
// per unit), used to fill an empty row of the seasoning calculator.
SeasoningList BuiltInSeasonings();
}  // namespace morv
