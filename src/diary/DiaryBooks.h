#pragma once
// What only the document and its parts (the journal, the folder's watch, the
// table of kinds) see of the diary: the save bookkeeping, the changes from
// elsewhere, the log lent to a save's thread and the end of an import. The
// panels see the diary's data, its edits and its signals, never these.

#include "diary/Diary.h"

namespace morv {

class DiaryBooks {
public:
    explicit DiaryBooks(Diary& diary) : d_(diary) {}

    void MarkUnsaved(DataFile file) { return d_.MarkUnsaved(file); }
    const FileChanges& Changes(DataFile file) const { return d_.Changes(file); }
    bool HasChanges(DataFile file) const { return d_.HasChanges(file); }
    void Saved(DataFile file) { return d_.Saved(file); }
    quint64 Generation(DataFile file) const { return d_.Generation(file); }
    void SavedAsOf(DataFile file, quint64 generation) { return d_.SavedAsOf(file, generation); }
    void SavedItems(const ItemList& written) { return d_.SavedItems(written); }
    void SavedSeasonings(const SeasoningList& written) { return d_.SavedSeasonings(written); }
    void LeaveLogAtExit() { return d_.LeaveLogAtExit(); }
    std::shared_ptr<const LogList> LendLog() { return d_.LendLog(); }
    std::shared_ptr<const LogList> SharedLog() const { return d_.SharedLog(); }
    void EndItemImport() { return d_.EndItemImport(); }
    void EndLogImport() { return d_.EndLogImport(); }
    void DropItemImport(const ItemList* readBack) { return d_.DropItemImport(readBack); }
    void DropLogImport(const LogList* readBack) { return d_.DropLogImport(readBack); }
    void ApplyItem(int slot, const ItemRecord& record) { return d_.ApplyItem(slot, record); }
    void ApplySeasoning(int row, const SeasoningRecord& record) { return d_.ApplySeasoning(row, record); }
    void ApplyTarget(const QString& target) { return d_.ApplyTarget(target); }
    void ApplyShift(qint32 shift) { return d_.ApplyShift(shift); }
    void ApplyDays(const std::map<QString, std::optional<LogRecord>>& days) { return d_.ApplyDays(days); }
    Diary::Unjournaled TakeUnjournaled() { return d_.TakeUnjournaled(); }
    bool HasUnjournaled() const { return d_.HasUnjournaled(); }
    void ClearItemTable() { return d_.ClearItemTable(); }

    // What the journal will take at its next flush, left in place.
    const Diary::Unjournaled& PendingJournal() const { return d_.unjournaled_; }

private:
    Diary& d_;
};

}  // namespace morv
