#pragma once
// The item-data exchange file: a header record with the main date, then one
// record per item slot, in the quoted-field syntax of the data files.

#include "storage/Records.h"

#include <QByteArray>
#include <QString>

namespace morv {

// The header and the 160 stored slots, CP932 with CR LF. Quote marks in a
// name are written as the data files write them, so every exported file
// reads back; the table itself is not changed.
QByteArray ItemExchangeBytes(const QString& dateText, const ItemList& items);

enum class ItemCheck {
    Accepted,
    Refused,  // empty, a bad header or a bad item record
    Broken,   // the fields do not come in fours
};
// The check pass over the whole text; the number of records is not limited.
// `why`, if given, gets the reason when the text is not accepted.
ItemCheck CheckItemExchange(const QString& text, QString* why = nullptr);

// The load pass: item record k into slot k, fields as read, names as the
// data file stores them (MakeNameStorable); slots
// beyond the file's records keep their contents. `dateText` gets the header's
// first field as soon as it is read. false when the text breaks off or holds
// more records than the table has slots (what was stored so far stays).
bool LoadItemExchange(const QString& text, ItemList& items, QString& dateText);

}  // namespace morv
