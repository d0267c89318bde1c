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
    // Every field decoded, and writing the records back would give the bytes
    // read, byte for byte (a character under its twin CP932 code, a bare CR,
    // an unquoted field or a blank line would come back otherwise).
    bool faithful = true;
    bool complete() const { return !broken && !overflow; }
};

// Into `items` (a whole table, ItemSlotCount slots) from slot 0.
TableParse ParseItems(QByteArrayView bytes, ItemList& items);
// The line a data file stores for one record, CR LF included: the one way
// both tables are written, and what a faithful read is held to.
void AppendItemLine(QByteArray& out, const ItemRecord& item);
void AppendSeasoningLine(QByteArray& out, const SeasoningRecord& row);
// Into `rows` from the first; what comes before a broken record is kept.
TableParse ParseSeasonings(QByteArrayView bytes, SeasoningList& rows);

}  // namespace morv
