#include "storage/Records.h"

namespace morv {

ItemList NewItemTable() {
    ItemList items(ItemSlotCount);
    for (int slot = 0; slot < StoredItemCount; ++slot) items[slot].Checked = QStringLiteral("0");
    return items;
}

}  // namespace morv
