#include "diary/DayTotal.h"

#include "text/NumericText.h"

#include <algorithm>

namespace morv {

bool IsSelectedItem(const ItemRecord& item) {
    return item.Checked == u"1" && !item.ItemName.isEmpty() && IsNumeric(item.ItemSalt);
}

QString DayTotalText(const ItemList& items) {
    double total = 0;
    const auto end = items.begin() + std::min<qsizetype>(items.size(), StoredItemCount);
    for (auto it = items.begin(); it != end; ++it) {
        if (IsSelectedItem(*it)) total += ValueOf(it->ItemSalt);
    }
    return CutDecimals(NumberText(total), 2);
}

bool TotalOverTarget(const QString& totalText, const QString& target) {
    const auto targetValue = NumericValue(target);
    return targetValue && *targetValue < ValueOf(totalText);
}

}  // namespace morv
