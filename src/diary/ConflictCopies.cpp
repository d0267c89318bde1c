#include "diary/ConflictCopies.h"

#include "storage/DataFiles.h"
#include "storage/TableParse.h"
#include "text/Cp932.h"

namespace morv {

std::optional<ItemList> ItemsOfCopy(QByteArrayView bytes) {
    ItemList items = NewItemTable();
    const TableParse parse = ParseItems(bytes, items);
    if (!parse.complete() || parse.records > size_t(StoredItemCount)) return std::nullopt;
    return items;
}

std::optional<SeasoningList> SeasoningsOfCopy(QByteArrayView bytes) {
    SeasoningList rows{};
    if (!ParseSeasonings(bytes, rows).complete()) return std::nullopt;
    return rows;
}

QString TargetOfCopy(QByteArrayView bytes) { return FirstLine(DecodeCp932(bytes)); }

}  // namespace morv
