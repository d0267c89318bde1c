#pragma once
// The diary's tables. Every value, numbers included, is the text that was typed
// or shown; conversion to a number happens only where something is computed.

#include "storage/LogFields.h"

#include <QString>
#include <array>
#include <vector>

namespace morv {

struct ItemRecord {
    QString Checked;  // "1" ticked, "0" not
    QString ItemName;
    QString Sodium;    // milligrams, as typed
    QString ItemSalt;  // grams, as typed or converted
    bool operator==(const ItemRecord&) const = default;
};

// 32 bytes: a log of a million days is held in about as many megabytes.
struct LogRecord {
    DateField LogDate;  // yyyy/mm/dd
    SharedText DaySalt;
    SharedText PressureLow;
    SharedText PressureHigh;
    bool operator==(const LogRecord&) const = default;
};
static_assert(sizeof(LogRecord) == 4 * sizeof(void*));

struct SeasoningRecord {
    QString SeasoningName;
    QString UnitSalt;
    bool operator==(const SeasoningRecord&) const = default;
};

// 161 slots: 0..159 are the ten pages of sixteen rows; slot 160 is filled only
// by an import that carries one record more, and is never shown or stored.
inline constexpr int ItemSlotCount = 161;
inline constexpr int StoredItemCount = 160;
inline constexpr int SeasoningRowCount = 20;
inline constexpr int DefaultPressureBarShift = 3000;

using ItemList = std::vector<ItemRecord>;
using LogList = std::vector<LogRecord>;
// The room a long log keeps for new days. A read leaves it free, and a full
// log grows by it: doubling would leave up to a whole log's worth of room
// unused after one new day, and an exact fit would copy the whole log
// (32 MB at a million days) at the first new day of a session.
inline constexpr size_t LogGrowthStep = 4096;
using SeasoningList = std::array<SeasoningRecord, SeasoningRowCount>;

// A fresh item table: 161 slots, "0" in Checked of slots 0..159.
ItemList NewItemTable();

}  // namespace morv
