#include "diary/SelectedItems.h"

#include "diary/DayTotal.h"
#include "text/FullWidth.h"

#include <algorithm>

namespace morv {

SelectedItemList BuildSelectedItems(const ItemList& items) {
    SelectedItemList list;
    const size_t end = std::min(items.size(), static_cast<size_t>(StoredItemCount));
    for (size_t slot = 0; slot < end; ++slot) {
        if (IsSelectedItem(items[slot])) list.push_back({items[slot].ItemName, items[slot].ItemSalt});
    }
    return list;
}

int ListPageCount(int count) { return std::max(1, (count + ListCellsPerPage - 1) / ListCellsPerPage); }

int PageBoxValue(QStringView box, int shown) {
    bool ok = false;
    const int value = box.toInt(&ok);
    return ok ? value : shown;
}

int ClampListPage(int page, int pages) { return std::clamp(page, 1, std::max(1, pages)); }

int NextListPage(int value, int pages) { return value == pages ? 1 : value + 1; }

int PreviousListPage(int value, int pages) { return value == 1 ? pages : value - 1; }

QString NameCellText(const QString& name) { return u' ' + ToFullWidth(name); }

QString SaltCellText(const QString& salt) { return salt + u' '; }

}  // namespace morv
