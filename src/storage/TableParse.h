#pragma once
// The records of the item table's and the seasoning table's bytes, taken one
// way for the data files themselves and for the copies other programs leave.

#include "storage/Records.h"

#include <QByteArrayView>

namespace morv {

struct TableParse {
    bool broken = false;    // the text ended inside a record, or a quote never closed
    bool overflow = false;  // a record beyond the table's last slot
    size_t records = 0;     // records put into the table, from its first slot
    // Every field decoded, and writing the records back would give the bytes.
    bool faithful = true;
    bool complete() const { return !broken && !overflow; }
};

// Into `items` (a whole table, ItemSlotCount slots) from slot 0.
TableParse ParseItems(QByteArrayView bytes, ItemList& items);
// Into `rows` from the first; what comes before a broken record is kept.
TableParse ParseSeasonings(QByteArrayView bytes, SeasoningList& rows);

}  // namespace morv
