#include "app/core/Diary.h"

#include <utility>

namespace morv {

Diary::Diary() : items_(NewItemTable()) {}

// ---- As read ----

void Diary::LoadItemTable(ItemList items) {
    // The grid shows 160 slots: a table cut short is filled up rather than read past.
    if (items.size() < static_cast<size_t>(ItemSlotCount)) items.resize(static_cast<size_t>(ItemSlotCount));
    items_ = std::move(items);
    changes_[index(DataFile::Kiroku)] = {};
}

void Diary::LoadSeasoningTable(const SeasoningList& rows) {
    seasonings_ = rows;
    changes_[index(DataFile::Chomi)] = {};
}

void Diary::LoadSaltTarget(const QString& target) {
    target_ = target;
    changes_[index(DataFile::Moku)] = {};
}

void Diary::setLog(LogList log) {
    log_ = std::move(log);
    logInOrder_ = IsInDateOrder(log_);
}

void Diary::LoadDailyLog(LogList log) {
    setLog(std::move(log));
    changes_[index(DataFile::Enbun)] = {};
}

void Diary::LoadPressureBarShift(qint32 shift) {
    barShift_ = shift;
    changes_[index(DataFile::Atu)] = {};
}

// ---- Change bookkeeping ----

void Diary::touchSlot(DataFile file, int slot) {
    FileChanges& c = changes_[index(file)];
    c.any = true;
    c.rows.insert(slot);
    announce(file);
}

void Diary::touchDay(const QString& date) {
    FileChanges& c = changes_[index(DataFile::Enbun)];
    c.any = true;
    c.days.insert(date);
    announce(DataFile::Enbun);
}

void Diary::touchWhole(DataFile file) {
    FileChanges& c = changes_[index(file)];
    c.any = true;
    c.whole = true;
    announce(file);
}

// ---- Items ----

ItemRecord* Diary::item(int slot) {
    if (slot < 0 || slot >= static_cast<int>(items_.size())) return nullptr;
    return &items_[static_cast<size_t>(slot)];
}

template <typename Field>
static bool assign(Field& field, const QString& value) {
    if (field == value) return false;
    field = value;
    return true;
}

void Diary::SetItem(int slot, const ItemRecord& record) {
    ItemRecord* r = item(slot);
    if (!r || *r == record) return;
    *r = record;
    touchSlot(DataFile::Kiroku, slot);
}

void Diary::SetChecked(int slot, const QString& checked) {
    if (ItemRecord* r = item(slot); r && assign(r->Checked, checked)) touchSlot(DataFile::Kiroku, slot);
}

void Diary::SetItemName(int slot, const QString& name) {
    if (ItemRecord* r = item(slot); r && assign(r->ItemName, name)) touchSlot(DataFile::Kiroku, slot);
}

void Diary::SetSodium(int slot, const QString& sodium) {
    if (ItemRecord* r = item(slot); r && assign(r->Sodium, sodium)) touchSlot(DataFile::Kiroku, slot);
}

void Diary::SetItemSalt(int slot, const QString& salt) {
    if (ItemRecord* r = item(slot); r && assign(r->ItemSalt, salt)) touchSlot(DataFile::Kiroku, slot);
}

void Diary::ClearAllTicks() {
    const QString unticked = QStringLiteral("0");
    const int end = std::min(static_cast<int>(items_.size()), StoredItemCount);
    FileChanges& c = changes_[index(DataFile::Kiroku)];
    bool any = false;
    for (int slot = 0; slot < end; ++slot) {
        if (assign(items_[static_cast<size_t>(slot)].Checked, unticked)) {
            c.rows.insert(slot);
            any = true;
        }
    }
    if (!any) return;
    c.any = true;
    announce(DataFile::Kiroku);
}

// ---- The log ----

LogPlace Diary::FindPlace(const QString& date) const {
    return logInOrder_ ? FindLogPlaceInOrder(log_, date) : FindLogPlace(log_, date);
}

void Diary::RegisterDay(const LogPlace& place, const QString& date, const QString& salt) {
    if (place.kind == LogPlace::Kind::Existing) {
        const LogRecord& day = log_[static_cast<size_t>(place.index)];
        if (day.LogDate == date && day.DaySalt == salt) return;
    }
    // A long log grows by a fixed step: doubling would leave up to a whole
    // log's worth of room unused after one new day.
    constexpr size_t Step = 4096;
    if (place.kind != LogPlace::Kind::Existing && log_.size() == log_.capacity()) log_.reserve(log_.size() + Step);
    morv::RegisterDay(log_, place, date, salt);
    touchDay(date);
}

void Diary::SetReading(int index, const QString& low, const QString& high) {
    if (index < 0 || index >= LogCount()) return;
    LogRecord& day = log_[static_cast<size_t>(index)];
    const bool lowChanged = assign(day.PressureLow, low);
    if (assign(day.PressureHigh, high) || lowChanged) touchDay(day.LogDate);
}

void Diary::ClearReading(int index) { SetReading(index, QString(), QString()); }

// ---- Seasonings, bars, target ----

void Diary::SetSeasoningName(int row, const QString& name) {
    if (row < 0 || row >= SeasoningRowCount) return;
    if (assign(seasonings_[static_cast<size_t>(row)].SeasoningName, name)) touchSlot(DataFile::Chomi, row);
}

void Diary::SetUnitSalt(int row, const QString& salt) {
    if (row < 0 || row >= SeasoningRowCount) return;
    if (assign(seasonings_[static_cast<size_t>(row)].UnitSalt, salt)) touchSlot(DataFile::Chomi, row);
}

void Diary::SetPressureBarShift(qint32 shift) {
    if (barShift_ == shift) return;
    barShift_ = shift;
    touchWhole(DataFile::Atu);
}

void Diary::SetSaltTarget(const QString& target) {
    if (assign(target_, target)) touchWhole(DataFile::Moku);
}

// ---- Imports ----

void Diary::BeginItemImport(ItemList imported) {
    if (imported.size() < static_cast<size_t>(ItemSlotCount))
        imported.resize(static_cast<size_t>(ItemSlotCount));
    // A file imported over a preview: the table to go back to is still the
    // one from before the first.
    ItemList replaced = std::exchange(items_, std::move(imported));
    if (!itemImportPending_) itemsBeforeImport_ = std::move(replaced);
    itemImportPending_ = true;
    touchWhole(DataFile::Kiroku);
}

void Diary::BeginLogImport(LogList imported) {
    LogList replaced = std::exchange(log_, {});
    setLog(std::move(imported));
    logBeforeImport_ = std::move(replaced);
    logImportPending_ = true;
    touchWhole(DataFile::Enbun);
}

void Diary::EndItemImport() {
    itemImportPending_ = false;
    itemsBeforeImport_ = {};
}

void Diary::EndLogImport() {
    logImportPending_ = false;
    logBeforeImport_ = {};
}

void Diary::DropItemImport(const ItemList* readBack) {
    itemImportPending_ = false;
    if (readBack) {
        LoadItemTable(*readBack);
    } else {
        LoadItemTable(std::move(itemsBeforeImport_));
        // Kiroku.txt did not give it back: it is saved again from memory.
        touchWhole(DataFile::Kiroku);
    }
    itemsBeforeImport_ = {};
}

void Diary::DropLogImport(const LogList* readBack) {
    logImportPending_ = false;
    if (readBack) {
        LoadDailyLog(*readBack);
    } else {
        LoadDailyLog(std::move(logBeforeImport_));
        touchWhole(DataFile::Enbun);
    }
    logBeforeImport_ = {};
}

void Diary::LeaveLogAtExit() {
    static_cast<void>(new LogList(std::move(log_)));
    static_cast<void>(new LogList(std::move(logBeforeImport_)));
    log_ = {};
    logBeforeImport_ = {};
}

// ---- Saving ----

void Diary::Saved(DataFile file) { changes_[index(file)] = {}; }

void Diary::SavedItems(const ItemList& written) {
    for (size_t slot = 0; slot < written.size() && slot < items_.size(); ++slot)
        items_[slot].ItemName = written[slot].ItemName;
    Saved(DataFile::Kiroku);
}

void Diary::SavedSeasonings(const SeasoningList& written) {
    for (size_t row = 0; row < written.size(); ++row)
        seasonings_[row].SeasoningName = written[row].SeasoningName;
    Saved(DataFile::Chomi);
}

}  // namespace morv
