#include "diary/Diary.h"

#include "diary/DataKinds.h"

#include <iterator>
#include <type_traits>
#include <utility>

namespace morv {

Diary::Diary() : items_(NewItemTable()) {}

// ---- As read ----

void Diary::setItems(ItemList items) {
    // The grid shows 160 slots: a table cut short is filled up rather than read past.
    if (items.size() < static_cast<size_t>(ItemSlotCount)) items.resize(static_cast<size_t>(ItemSlotCount));
    items_ = std::move(items);
    forgetBase(DataFile::Kiroku);
}

void Diary::LoadItemTable(ItemList items) {
    setItems(std::move(items));
    emit itemsReplaced();
    emit itemChanged(-1);
}

void Diary::LoadSeasoningTable(const SeasoningList& rows) {
    seasonings_ = rows;
    forgetBase(DataFile::Chomi);
    emit seasoningChanged(-1);
}

void Diary::LoadSaltTarget(const QString& target) {
    target_ = target;
    forgetBase(DataFile::Moku);
    emit targetChanged();
}

void Diary::setLog(LogList log) {
    log_ = std::make_shared<LogList>(std::move(log));
    logInOrder_ = IsInDateOrder(*log_);
}

void Diary::LoadDailyLog(LogList log) {
    setLog(std::move(log));
    forgetBase(DataFile::Enbun);
    emit logChanged();
}

void Diary::LoadPressureBarShift(qint32 shift) {
    barShift_ = shift;
    forgetBase(DataFile::Atu);
    emit barShiftChanged();
}

// ---- Change bookkeeping ----

void Diary::editItem(int slot, const std::function<void(ItemRecord&)>& edit) {
    ItemRecord* r = item(slot);
    if (!r) return;
    const ItemRecord before = *r;
    edit(*r);
    if (*r == before) return;
    touchSlot(DataFile::Kiroku, slot);
}

void Diary::editSeasoning(int row, const std::function<void(SeasoningRecord&)>& edit) {
    if (row < 0 || row >= SeasoningRowCount) return;
    SeasoningRecord& r = seasonings_[static_cast<size_t>(row)];
    const SeasoningRecord before = r;
    edit(r);
    if (r == before) return;
    touchSlot(DataFile::Chomi, row);
}

void Diary::editDay(int index, const std::function<void(LogRecord&)>& edit) {
    if (index < 0 || index >= LogCount()) return;
    LogRecord& day = ownLog()[static_cast<size_t>(index)];
    const LogRecord before = day;
    edit(day);
    if (day == before) return;
    touchDay(day.LogDate);
}

void Diary::touchSlot(DataFile file, int slot) {
    (file == DataFile::Kiroku ? unjournaled_.items : unjournaled_.seasonings).insert(slot);
    FileChanges& c = changes_[index(file)];
    c.any = true;
    c.rows.insert(slot);
    announce(file);
    // A salt being typed shows once it is finished (FinishDraft).
    if (!drafting_) showData(file, slot);
}

void Diary::touchDay(const QString& date) {
    if (!unjournaled_.allDays) unjournaled_.days.insert(date);
    FileChanges& c = changes_[index(DataFile::Enbun)];
    c.any = true;
    c.days.insert(date);
    announce(DataFile::Enbun);
    showData(DataFile::Enbun);
}

void Diary::touchWhole(DataFile file) {
    KindOf(file).journalWhole(unjournaled_);
    FileChanges& c = changes_[index(file)];
    c.any = true;
    c.whole = true;
    announce(file);
    showData(file);
}

void Diary::showData(DataFile file, int at) {
    // A single slot or row shows alone; anything else shows its whole kind.
    if (at >= 0 && file == DataFile::Kiroku) return emit itemChanged(at);
    if (at >= 0 && file == DataFile::Chomi) return emit seasoningChanged(at);
    KindOf(file).show(*this);
}

// ---- Items ----

ItemRecord* Diary::item(int slot) {
    if (slot < 0 || slot >= static_cast<int>(items_.size())) return nullptr;
    return &items_[static_cast<size_t>(slot)];
}

void Diary::SetItem(int slot, const ItemRecord& record) {
    editItem(slot, [&](ItemRecord& r) { r = record; });
}

void Diary::SetChecked(int slot, const QString& checked) {
    editItem(slot, [&](ItemRecord& r) { r.Checked = checked; });
}

void Diary::SetItemName(int slot, const QString& name) {
    editItem(slot, [&](ItemRecord& r) { r.ItemName = name; });
}

void Diary::SetSodium(int slot, const QString& sodium) {
    editItem(slot, [&](ItemRecord& r) { r.Sodium = sodium; });
}

void Diary::SetItemSalt(int slot, const QString& salt) {
    editItem(slot, [&](ItemRecord& r) { r.ItemSalt = salt; });
}

void Diary::DraftItemSalt(int slot, const QString& salt) {
    drafting_ = true;
    editItem(slot, [&](ItemRecord& r) { r.ItemSalt = salt; });
    drafting_ = false;
}

void Diary::FinishDraft(int slot) {
    if (item(slot)) emit itemChanged(slot);
}

void Diary::ClearAllTicks() {
    const QString unticked = QStringLiteral("0");
    const int end = std::min(static_cast<int>(items_.size()), StoredItemCount);
    FileChanges& c = changes_[index(DataFile::Kiroku)];
    bool any = false;
    for (int slot = 0; slot < end; ++slot) {
        ItemRecord& r = items_[static_cast<size_t>(slot)];
        if (r.Checked == unticked) continue;
        unjournaled_.items.insert(slot);
        r.Checked = unticked;
        c.rows.insert(slot);
        any = true;
    }
    if (!any) return;
    c.any = true;
    announce(DataFile::Kiroku);
    emit itemChanged(-1);
}

// ---- The log ----

LogList& Diary::ownLog(bool appendOnly) {
    // Every holder of the log is on this thread, so the count is exact.
    const bool lentAlone = log_.use_count() == 2 && lent_.lock().get() == log_.get();
    if (appendOnly && lentAlone && log_->size() < log_->capacity()) return *log_;
    if (log_.use_count() > 1) {
        auto copy = std::make_shared<LogList>();
        copy->reserve(log_->size() + LogGrowthStep);
        copy->assign(log_->begin(), log_->end());
        log_ = std::move(copy);
    }
    return *log_;
}

LogPlace Diary::FindPlace(const QString& date) const {
    return logInOrder_ ? FindLogPlaceInOrder(*log_, date) : FindLogPlace(*log_, date);
}

void Diary::RegisterDay(const LogPlace& place, const QString& date, const QString& salt) {
    if (place.kind == LogPlace::Kind::Existing) {
        const LogRecord& day = (*log_)[static_cast<size_t>(place.index)];
        if (day.LogDate == date && day.DaySalt == salt) return;
    }
    LogList& log = ownLog(place.kind == LogPlace::Kind::Append);
    if (place.kind != LogPlace::Kind::Existing && log.size() == log.capacity())
        log.reserve(log.size() + LogGrowthStep);
    morv::RegisterDay(log, place, date, salt);
    touchDay(date);
}

void Diary::SetReading(int index, const QString& low, const QString& high) {
    editDay(index, [&](LogRecord& day) {
        day.PressureLow = low;
        day.PressureHigh = high;
    });
}

void Diary::DeleteAllDays() {
    if (log_->empty()) return;
    FileChanges& c = changes_[index(DataFile::Enbun)];
    c.any = c.whole = true;
    unjournaled_.logDeleted = true;
    unjournaled_.allDays = false;
    unjournaled_.days.clear();
    setLog({});
    announce(DataFile::Enbun);
    emit logChanged();
}

void Diary::ClearReading(int index) { SetReading(index, QString(), QString()); }

// ---- Seasonings, bars, target ----

void Diary::SetSeasoningName(int row, const QString& name) {
    editSeasoning(row, [&](SeasoningRecord& r) { r.SeasoningName = name; });
}

void Diary::SetUnitSalt(int row, const QString& salt) {
    editSeasoning(row, [&](SeasoningRecord& r) { r.UnitSalt = salt; });
}

void Diary::ShowSeasoningDefault(int row) {
    if (row < 0 || row >= SeasoningRowCount) return;
    SeasoningRecord& r = seasonings_[static_cast<size_t>(row)];
    if (!r.SeasoningName.isEmpty() || r == defaults_[static_cast<size_t>(row)]) return;
    r = defaults_[static_cast<size_t>(row)];
    // Chomi.txt holds what the rows show, so it is written with the default;
    // but the journal gets nothing: a default shown is no edit, and another
    // machine's edit of the row wins over it.
    FileChanges& c = changes_[index(DataFile::Chomi)];
    c.any = true;
    c.rows.insert(row);
    emit seasoningChanged(row);
    announce(DataFile::Chomi, false);
}

void Diary::SetPressureBarShift(qint32 shift) {
    if (barShift_ == shift) return;
    barShift_ = shift;
    touchWhole(DataFile::Atu);
}

void Diary::SetSaltTarget(const QString& target) {
    if (target_ == target) return;
    target_ = target;
    touchWhole(DataFile::Moku);
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
    emit itemsReplaced();
}

void Diary::BeginLogImport(LogList imported) {
    // The log it replaces is kept as it stands; a reader may still share it.
    const std::shared_ptr<LogList> replaced = std::exchange(log_, std::make_shared<LogList>());
    setLog(std::move(imported));
    logBeforeImport_ = replaced.use_count() == 1 ? std::move(*replaced) : *replaced;
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
    // The preview is gone; the table it replaced was in the journal already.
    unjournaled_.allItems = false;
    unjournaled_.items.clear();
    if (readBack) {
        LoadItemTable(*readBack);
    } else {
        LoadItemTable(std::move(itemsBeforeImport_));
        // Kiroku.txt did not give it back: it is saved again from memory.
        MarkUnsaved(DataFile::Kiroku);
    }
    itemsBeforeImport_ = {};
}

void Diary::DropLogImport(const LogList* readBack) {
    logImportPending_ = false;
    unjournaled_.logDeleted = unjournaled_.allDays = false;
    unjournaled_.days.clear();
    if (readBack) {
        LoadDailyLog(*readBack);
    } else {
        LoadDailyLog(std::move(logBeforeImport_));
        MarkUnsaved(DataFile::Enbun);
    }
    logBeforeImport_ = {};
}

void Diary::LeaveLogAtExit() {
    static_cast<void>(new std::shared_ptr<LogList>(std::exchange(log_, std::make_shared<LogList>())));
    static_cast<void>(new LogList(std::move(logBeforeImport_)));
    logBeforeImport_ = {};
}

// ---- Saving ----

void Diary::Saved(DataFile file) { forgetBase(file); }

void Diary::MarkUnsaved(DataFile file) {
    FileChanges& c = changes_[index(file)];
    c.any = true;
    c.whole = true;
    announce(file);
}

// ---- Changes made elsewhere ----

void Diary::appliedFromElsewhere(DataFile file, int at) {
    FileChanges& c = changes_[index(file)];
    c.any = c.whole = true;
    emit reloaded(file);
    showData(file, at);
    announce(file, false);
}

void Diary::ApplyItem(int slot, const ItemRecord& record) {
    ItemRecord* r = slot < StoredItemCount ? item(slot) : nullptr;
    if (!r || *r == record) return;
    *r = record;
    appliedFromElsewhere(DataFile::Kiroku, slot);
}

void Diary::ApplySeasoning(int row, const SeasoningRecord& record) {
    if (row < 0 || row >= SeasoningRowCount || seasonings_[static_cast<size_t>(row)] == record) return;
    seasonings_[static_cast<size_t>(row)] = record;
    appliedFromElsewhere(DataFile::Chomi, row);
}

void Diary::ApplyTarget(const QString& target) {
    if (target_ == target) return;
    target_ = target;
    appliedFromElsewhere(DataFile::Moku);
}

void Diary::ApplyShift(qint32 shift) {
    if (barShift_ == shift) return;
    barShift_ = shift;
    appliedFromElsewhere(DataFile::Atu);
}

void Diary::ApplyDays(const std::map<QString, std::optional<LogRecord>>& days) {
    if (days.empty()) return;
    const LogList& was = *log_;
    LogList log;
    log.reserve(was.size() + days.size() + LogGrowthStep);
    bool changed = false;
    if (logInOrder_) {
        // One pass: the log and the changes are both in date order.
        auto change = days.begin();
        auto put = [&](const std::optional<LogRecord>& day) {
            if (day) log.push_back(*day);
        };
        for (const LogRecord& day : was) {
            for (; change != days.end() && day.LogDate.compare(change->first) > 0; ++change) {
                changed |= change->second.has_value();
                put(change->second);
            }
            if (change != days.end() && change->first == day.LogDate) {
                changed |= !(change->second && *change->second == day);
                put(change->second);
                ++change;
                continue;
            }
            log.push_back(day);
        }
        for (; change != days.end(); ++change) {
            changed |= change->second.has_value();
            put(change->second);
        }
    } else {
        // A log imported out of order keeps its order; a new day goes last.
        std::map<QString, std::optional<LogRecord>> left = days;
        for (const LogRecord& day : was) {
            const auto found = left.find(day.LogDate);
            if (found == left.end()) {
                log.push_back(day);
                continue;
            }
            changed |= !(found->second && *found->second == day);
            if (found->second) log.push_back(*found->second);
            left.erase(found);
        }
        for (const auto& [date, day] : left)
            if (day) {
                log.push_back(*day);
                changed = true;
            }
    }
    if (!changed) return;
    setLog(std::move(log));
    appliedFromElsewhere(DataFile::Enbun);
}

void Diary::ClearItemTable() {
    ItemList empty = NewItemTable();
    if (items_ == empty) return;
    setItems(std::move(empty));
    touchWhole(DataFile::Kiroku);
    emit itemsReplaced();
}

Diary::Unjournaled Diary::TakeUnjournaled() {
    Unjournaled taken;
    // A preview is not the data until it is adopted: its kind waits.
    if (!itemImportPending_) {
        taken.items = std::exchange(unjournaled_.items, {});
        taken.allItems = std::exchange(unjournaled_.allItems, false);
    }
    if (!logImportPending_) {
        taken.days = std::exchange(unjournaled_.days, {});
        taken.logDeleted = std::exchange(unjournaled_.logDeleted, false);
        taken.allDays = std::exchange(unjournaled_.allDays, false);
    }
    taken.seasonings = std::exchange(unjournaled_.seasonings, {});
    taken.target = std::exchange(unjournaled_.target, false);
    taken.shift = std::exchange(unjournaled_.shift, false);
    return taken;
}

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
