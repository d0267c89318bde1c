#include "diary/Diary.h"

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

void Diary::forgetBase(DataFile file) {
    changes_[index(file)] = {};
    switch (file) {
        case DataFile::Kiroku:
            itemsBefore_.clear();
            break;
        case DataFile::Chomi:
            seasoningsBefore_.clear();
            break;
        case DataFile::Enbun:
            daysBefore_.clear();
            break;
        case DataFile::Moku:
            targetBefore_.reset();
            break;
        case DataFile::Atu:
            shiftBefore_.reset();
            break;
    }
}

void Diary::editItem(int slot, const std::function<void(ItemRecord&)>& edit) {
    ItemRecord* r = item(slot);
    if (!r) return;
    const ItemRecord before = *r;
    edit(*r);
    if (*r == before) return;
    itemsBefore_.try_emplace(slot, before);
    touchSlot(DataFile::Kiroku, slot);
}

void Diary::editSeasoning(int row, const std::function<void(SeasoningRecord&)>& edit) {
    if (row < 0 || row >= SeasoningRowCount) return;
    SeasoningRecord& r = seasonings_[static_cast<size_t>(row)];
    const SeasoningRecord before = r;
    edit(r);
    if (r == before) return;
    seasoningsBefore_.try_emplace(row, before);
    touchSlot(DataFile::Chomi, row);
}

void Diary::editDay(int index, const std::function<void(LogRecord&)>& edit) {
    if (index < 0 || index >= LogCount()) return;
    LogRecord& day = ownLog()[static_cast<size_t>(index)];
    const LogRecord before = day;
    edit(day);
    if (day == before) return;
    daysBefore_.try_emplace(before.LogDate, before);
    touchDay(day.LogDate);
}

void Diary::touchSlot(DataFile file, int slot) {
    FileChanges& c = changes_[index(file)];
    c.any = true;
    c.rows.insert(slot);
    announce(file);
    if (drafting_)
        emit itemDrafted(slot);
    else
        showData(file, slot);
}

void Diary::touchDay(const QString& date) {
    FileChanges& c = changes_[index(DataFile::Enbun)];
    c.any = true;
    c.days.insert(date);
    announce(DataFile::Enbun);
    showData(DataFile::Enbun);
}

void Diary::touchWhole(DataFile file) {
    FileChanges& c = changes_[index(file)];
    c.any = true;
    c.whole = true;
    announce(file);
    showData(file);
}

void Diary::showData(DataFile file, int at) {
    switch (file) {
        case DataFile::Kiroku:
            emit itemChanged(at);
            break;
        case DataFile::Chomi:
            emit seasoningChanged(at);
            break;
        case DataFile::Enbun:
            emit logChanged();
            break;
        case DataFile::Moku:
            emit targetChanged();
            break;
        case DataFile::Atu:
            emit barShiftChanged();
            break;
    }
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
        itemsBefore_.try_emplace(slot, r);
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
    std::optional<LogRecord> before;
    if (place.kind == LogPlace::Kind::Existing) {
        const LogRecord& day = (*log_)[static_cast<size_t>(place.index)];
        if (day.LogDate == date && day.DaySalt == salt) return;
        before = day;
    }
    LogList& log = ownLog(place.kind == LogPlace::Kind::Append);
    if (place.kind != LogPlace::Kind::Existing && log.size() == log.capacity())
        log.reserve(log.size() + LogGrowthStep);
    morv::RegisterDay(log, place, date, salt);
    daysBefore_.try_emplace(date, before);
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
    for (const LogRecord& day : *log_) {
        daysBefore_.try_emplace(day.LogDate, day);
        c.days.insert(day.LogDate);
    }
    c.any = true;
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
    // What the file is merged against is what it holds: the row counts as
    // changed here only if it was already.
    emit seasoningChanged(row);
}

void Diary::SetPressureBarShift(qint32 shift) {
    if (barShift_ == shift) return;
    if (!shiftBefore_) shiftBefore_ = barShift_;
    barShift_ = shift;
    touchWhole(DataFile::Atu);
}

void Diary::SetSaltTarget(const QString& target) {
    if (target_ == target) return;
    if (!targetBefore_) targetBefore_ = target_;
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

template <class Key, class Record>
void Diary::keepUnsaved(DataFile file, const std::map<Key, std::optional<Record>>& stillOurs) {
    forgetBase(file);
    FileChanges& c = changes_[index(file)];
    for (const auto& [key, theirs] : stillOurs) {
        if constexpr (std::is_same_v<Record, LogRecord>) {
            daysBefore_.emplace(key, theirs);
            c.days.insert(key);
        } else if constexpr (std::is_same_v<Record, ItemRecord>) {
            itemsBefore_.emplace(key, *theirs);
            c.rows.insert(key);
        } else {
            seasoningsBefore_.emplace(key, *theirs);
            c.rows.insert(key);
        }
    }
    c.any = !stillOurs.empty();
    emit reloaded(file);
    showData(file);
    // The merge is saved like any other change, but it does not put off the
    // save of a change made here.
    if (c.any) announce(file, false);
}

bool Diary::TakeItemTable(ItemList theirs) {
    theirs.resize(static_cast<size_t>(ItemSlotCount));
    const FileChanges& c = Changes(DataFile::Kiroku);
    if (!c.any) {
        setItems(std::move(theirs));
        emit reloaded(DataFile::Kiroku);
        emit itemChanged(-1);
        return false;
    }
    MergedItems merged = MergeItems(items_, theirs, itemsBefore_, c.whole);
    items_ = std::move(merged.data);
    keepUnsaved(DataFile::Kiroku, merged.stillOurs);
    return merged.conflict;
}

bool Diary::TakeSeasoningTable(const SeasoningList& theirs) {
    const FileChanges& c = Changes(DataFile::Chomi);
    if (!c.any) {
        LoadSeasoningTable(theirs);
        emit reloaded(DataFile::Chomi);
        return false;
    }
    MergedSeasonings merged = MergeSeasonings(seasonings_, theirs, seasoningsBefore_, c.whole);
    seasonings_ = merged.data;
    keepUnsaved(DataFile::Chomi, merged.stillOurs);
    return merged.conflict;
}

bool Diary::TakeDailyLog(LogList theirs) {
    const FileChanges& c = Changes(DataFile::Enbun);
    if (!c.any) {
        LoadDailyLog(std::move(theirs));
        emit reloaded(DataFile::Enbun);
        return false;
    }
    MergedLog merged = MergeLog(*log_, std::move(theirs), daysBefore_, c.whole);
    log_ = std::make_shared<LogList>(std::move(merged.data));
    keepUnsaved(DataFile::Enbun, merged.stillOurs);
    return merged.conflict;
}

Diary::LogTake Diary::PrepareLogTake(LogList theirs) const {
    LogTake take;
    const FileChanges& c = Changes(DataFile::Enbun);
    take.generation = Generation(DataFile::Enbun);
    take.changedHere = c.any;
    take.was = log_;
    if (c.any) {
        take.ours = log_;
        take.base = daysBefore_;
        take.whole = c.whole;
    }
    take.theirs = std::move(theirs);
    return take;
}

void Diary::RunLogTake(LogTake& take) {
    if (take.changedHere) {
        take.merged = MergeLog(*take.ours, std::move(take.theirs), take.base, take.whole);
        LogList& days = take.merged.data;
        if (days.capacity() - days.size() < LogGrowthStep) {
            LogList roomy;
            roomy.reserve(days.size() + LogGrowthStep);
            std::move(days.begin(), days.end(), std::back_inserter(roomy));
            days = std::move(roomy);
        }
    } else {
        take.merged.data = std::move(take.theirs);
    }
    take.inOrder = IsInDateOrder(take.merged.data);
}

std::optional<bool> Diary::FinishLogTake(LogTake& take) {
    const FileChanges& c = Changes(DataFile::Enbun);
    if (take.was.lock() != log_ || take.generation != Generation(DataFile::Enbun) ||
        take.changedHere != c.any || logImportPending_)
        return std::nullopt;
    take.replaced = std::exchange(log_, std::make_shared<LogList>(std::move(take.merged.data)));
    logInOrder_ = take.inOrder;
    if (!take.changedHere) {
        forgetBase(DataFile::Enbun);
        emit logChanged();
        emit reloaded(DataFile::Enbun);
        return false;
    }
    keepUnsaved(DataFile::Enbun, take.merged.stillOurs);
    return take.merged.conflict;
}

bool Diary::TakeSaltTarget(const QString& theirs) {
    bool conflict = false;
    target_ = MergeValue(target_, theirs, targetBefore_, conflict);
    const bool unsaved = target_ != theirs;
    forgetBase(DataFile::Moku);
    if (unsaved) targetBefore_ = theirs;
    changes_[index(DataFile::Moku)] = {unsaved, unsaved, {}, {}};
    emit reloaded(DataFile::Moku);
    emit targetChanged();
    if (unsaved) announce(DataFile::Moku, false);
    return conflict;
}

bool Diary::TakePressureBarShift(qint32 theirs) {
    bool conflict = false;
    barShift_ = MergeValue(barShift_, theirs, shiftBefore_, conflict);
    const bool unsaved = barShift_ != theirs;
    forgetBase(DataFile::Atu);
    if (unsaved) shiftBefore_ = theirs;
    changes_[index(DataFile::Atu)] = {unsaved, unsaved, {}, {}};
    emit reloaded(DataFile::Atu);
    emit barShiftChanged();
    if (unsaved) announce(DataFile::Atu, false);
    return conflict;
}

int Diary::AddMissingDays(const LogList& other) {
    const LogList missing = MissingDays(*log_, other);
    if (missing.empty()) return 0;
    log_ = std::make_shared<LogList>(WithDays(*log_, missing));
    FileChanges& c = changes_[index(DataFile::Enbun)];
    for (const LogRecord& day : missing) {
        daysBefore_.try_emplace(day.LogDate, std::nullopt);
        c.days.insert(day.LogDate);
    }
    c.any = true;
    emit reloaded(DataFile::Enbun);
    emit logChanged();
    announce(DataFile::Enbun, false);
    return static_cast<int>(missing.size());
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
