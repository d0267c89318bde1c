#include "diary/ConflictCopies.h"

#include "storage/DataFiles.h"
#include "storage/QuotedFields.h"
#include "text/Cp932.h"

namespace morv {

std::optional<ItemList> ItemsOfCopy(QByteArrayView bytes) {
    ItemList items = NewItemTable();
    Cp932FieldReader reader(bytes);
    for (size_t slot = 0;; ++slot) {
        switch (reader.next(4)) {
            case FieldResult::End:
                return items;
            case FieldResult::Broken:
                return std::nullopt;
            case FieldResult::Record:
                if (slot >= static_cast<size_t>(StoredItemCount)) return std::nullopt;
                items[slot] = {reader.field(0), reader.field(1), reader.field(2), reader.field(3)};
                break;
        }
    }
}

std::optional<SeasoningList> SeasoningsOfCopy(QByteArrayView bytes) {
    SeasoningList rows{};
    Cp932FieldReader reader(bytes);
    for (SeasoningRecord& row : rows) {
        const FieldResult result = reader.next(2);
        if (result == FieldResult::End) return rows;
        if (result == FieldResult::Broken) return std::nullopt;
        row = {reader.field(0), reader.field(1)};
    }
    return reader.next(2) == FieldResult::End ? std::optional(rows) : std::nullopt;
}

QString TargetOfCopy(QByteArrayView bytes) { return FirstLine(DecodeCp932(bytes)); }

}  // namespace morv
