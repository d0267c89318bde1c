#include "storage/TableParse.h"

#include "storage/QuotedFields.h"

#include <algorithm>
#include <span>

namespace morv {
namespace {

template <class Table, class Take>
TableParse ParseRecords(QByteArrayView bytes, Table& table, int fields, Take take) {
    TableParse parse;
    Cp932FieldReader reader(bytes);
    for (;;) {
        const FieldResult result = reader.next(fields);
        if (result == FieldResult::End) break;
        if (result == FieldResult::Broken) {
            parse.broken = true;
            break;
        }
        if (parse.records >= table.size()) {
            parse.overflow = true;
            break;
        }
        table[parse.records++] = take(reader);
    }
    parse.faithful = !reader.undecodable() && reader.exact();
    return parse;
}

}  // namespace

TableParse ParseItems(QByteArrayView bytes, ItemList& items) {
    std::span<ItemRecord> table(items.data(), std::min(items.size(), static_cast<size_t>(ItemSlotCount)));
    return ParseRecords(bytes, table, 4, [](Cp932FieldReader& r) {
        return ItemRecord{r.field(0), r.field(1), r.field(2), r.field(3)};
    });
}

TableParse ParseSeasonings(QByteArrayView bytes, SeasoningList& rows) {
    return ParseRecords(bytes, rows, 2, [](Cp932FieldReader& r) {
        return SeasoningRecord{r.field(0), r.field(1)};
    });
}

}  // namespace morv
