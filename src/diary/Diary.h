#pragma once
// The diary's data for a run: the five files' contents and the state of the
// two imports. It changes only through the operations below; each one that
// really changes something announces its file once, and remembers which
// records changed until that file is saved. Reading a file in is not a
// change: the data is then what the file holds.

#include "diary/DataFile.h"
#include "diary/Registration.h"
#include "storage/Records.h"

#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>

namespace morv {

// What changed in one file since it was last read or written.
struct FileChanges {
    bool any = false;
    bool whole = false;      // replaced as a whole
    std::set<int> rows;      // item or seasoning slots
    std::set<QString> days;  // dates of the log
};

// What was changed here since the journal last took it: the journal
// writes these records as they stand then. A kind under an import
// preview stays out until the import is adopted.
struct DiaryUnjournaled {
    std::set<int> items;
    std::set<int> seasonings;
    std::set<QString> days;
    bool target = false;
    bool shift = false;
    bool allItems = false;    // every slot (an import adopted, the table deleted)
    bool logDeleted = false;  // every day before `days` went
    bool allDays = false;     // every day there is (a log import adopted)
    bool any() const {
        return !items.empty() || !seasonings.empty() || !days.empty() || target || shift || allItems ||
               logDeleted || allDays;
    }
};

class Diary : public QObject {
    Q_OBJECT
public:
    Diary();

    const ItemList& ItemTable() const { return items_; }
    const LogList& DailyLog() const { return *log_; }
    int LogCount() const { return static_cast<int>(log_->size()); }
    const SeasoningList& SeasoningTable() const { return seasonings_; }
    const SeasoningList& SeasoningDefaults() const { return defaults_; }
    qint32 PressureBarShift() const { return barShift_; }
    const QString& SaltTarget() const { return target_; }
    bool ItemImportPending() const { return itemImportPending_; }
    bool LogImportPending() const { return logImportPending_; }
    // The full path of the last export or import file dialog's choice.
    const QString& ExchangeFile() const { return exchangeFile_; }
    void SetExchangeFile(const QString& path) { exchangeFile_ = path; }

    // ---- As read from the files (no change, nothing to save) ----
    void LoadItemTable(ItemList items);
    void LoadSeasoningTable(const SeasoningList& rows);
    void LoadSeasoningDefaults(const SeasoningList& rows) { defaults_ = rows; }
    void LoadSaltTarget(const QString& target);
    void LoadDailyLog(LogList log);
    void LoadPressureBarShift(qint32 shift);

    // ---- Items ----
    // Slots outside the table change nothing.
    void SetItem(int slot, const ItemRecord& record);
    void SetChecked(int slot, const QString& checked);
    void SetItemName(int slot, const QString& name);
    void SetSodium(int slot, const QString& sodium);
    void SetItemSalt(int slot, const QString& salt);
    // A salt being typed: stored (and saved) at once, but a sum over the
    // table waits for FinishDraft, as the total waits for Enter or for the
    // box to be left.
    void DraftItemSalt(int slot, const QString& salt);
    void FinishDraft(int slot);
    // Every stored slot unticked.
    void ClearAllTicks();

    // ---- The log ----
    // Where a day goes: by halving while the log is in date order (as
    // registration keeps it), by scanning a log imported out of order.
    LogPlace FindPlace(const QString& date) const;
    // The day's salt at its place (FindPlace); a new day has no reading.
    void RegisterDay(const LogPlace& place, const QString& date, const QString& salt);
    void SetReading(int index, const QString& low, const QString& high);
    // Every day deleted, as a change like any other: a log that arrives from
    // elsewhere afterwards is merged against the days deleted here, so they
    // stay deleted and only days added or changed there come back.
    void DeleteAllDays();
    void ClearReading(int index);

    // ---- Seasonings, the bars, the target ----
    void SetSeasoningName(int row, const QString& name);
    void SetUnitSalt(int row, const QString& salt);
    // An empty row shows its built-in seasoning. Not an edit: nothing to
    // save, nothing that wins over another machine's edit of the row.
    void ShowSeasoningDefault(int row);
    void SetPressureBarShift(qint32 shift);
    void SetSaltTarget(const QString& target);

    // ---- Imports ----
    // The imported table or log replaces the data while the one it replaces
    // is kept in memory, for when the file cannot give it back.
    void BeginItemImport(ItemList imported);
    void BeginLogImport(LogList imported);
    using Unjournaled = DiaryUnjournaled;

signals:
    // A change to save; `here`: made in this program, not merged in from elsewhere.
    void changed(morv::DataFile file, bool here);
    // What shows the data follows these. -1: any slot or row.
    void itemChanged(int slot);
    // The whole table was replaced (read, imported, dropped): shown from its first page.
    void itemsReplaced();
    void seasoningChanged(int row);
    void logChanged();
    void targetChanged();
    void barShiftChanged();
    // The data of the file was changed from elsewhere (another machine, a copy):
    // whatever shows it shows it again.
    void reloaded(morv::DataFile file);

private:
    // What only the document and its parts use (DiaryBooks): the save
    // bookkeeping, the changes from elsewhere, the end of an import.
    friend class DiaryBooks;
    // The log as it stands now, for a reader on another thread: it stays as
    // it is for as long as the pointer is held, as a change made meanwhile
    // goes to a copy of its own. Hold and drop it on the diary's thread only.
    std::shared_ptr<const LogList> SharedLog() const { return log_; }
    // The same for a reader that reads only the days there are now (a span
    // of them, never the list itself): a new last day then goes in place
    // while there is room, the days it reads staying where they are. One at
    // a time.
    std::shared_ptr<const LogList> LendLog() {
        lent_ = log_;
        return log_;
    }
    // The preview became the file's content.
    void EndItemImport();
    void EndLogImport();
    // The preview is dropped: the data is `readBack` as the file gave it, or
    // the kept one when the file could not be read.
    void DropItemImport(const ItemList* readBack);
    void DropLogImport(const LogList* readBack);

    // ---- Changes made elsewhere ----
    // Another machine's change, or a file's record that no change explains,
    // put in as it is: saved to its file at the next save but never written
    // to this machine's journal, and shown at once. A slot or row outside the
    // table changes nothing.
    void ApplyItem(int slot, const ItemRecord& record);
    void ApplySeasoning(int row, const SeasoningRecord& record);
    void ApplyTarget(const QString& target);
    void ApplyShift(qint32 shift);
    // Days set (a record) or deleted (none), by date, in one pass over the log.
    void ApplyDays(const std::map<QString, std::optional<LogRecord>>& days);

    Unjournaled TakeUnjournaled();
    bool HasUnjournaled() const { return unjournaled_.any(); }
    // Kiroku.txt deleted: every slot empty, as a change of its own.
    void ClearItemTable();

    // ---- Saving ----
    // The file must be written from the data as it stands (the file on disk
    // is gone or could not be used), though nothing in it was edited.
    void MarkUnsaved(DataFile file);
    const FileChanges& Changes(DataFile file) const { return changes_[index(file)]; }
    bool HasChanges(DataFile file) const { return Changes(file).any; }
    // The file now holds the data; `written` is the table as the storage made
    // it storable (names without quotes), kept without a change.
    void Saved(DataFile file);
    // Counts the changes of a file: a save of a snapshot taken at generation
    // g has saved everything only while the count is still g.
    quint64 Generation(DataFile file) const { return generation_[index(file)]; }
    void SavedAsOf(DataFile file, quint64 generation) {
        if (Generation(file) == generation) Saved(file);
    }
    void SavedItems(const ItemList& written);
    void SavedSeasonings(const SeasoningList& written);

    // The program is ending and everything is saved: the log is left to the
    // system, which takes its memory back at once, rather than freed day by
    // day (a million days take a noticeable moment).
    void LeaveLogAtExit();

    static size_t index(DataFile file) { return static_cast<size_t>(file); }
    ItemRecord* item(int slot);
    void touchSlot(DataFile file, int slot);
    void touchDay(const QString& date);
    void touchWhole(DataFile file);
    void announce(DataFile file, bool here = true) {
        ++generation_[index(file)];
        emit changed(file, here);
    }
    void showData(DataFile file, int at = -1);
    void setItems(ItemList items);
    bool drafting_ = false;
    void editItem(int slot, const std::function<void(ItemRecord&)>& edit);
    void editSeasoning(int row, const std::function<void(SeasoningRecord&)>& edit);
    void editDay(int index, const std::function<void(LogRecord&)>& edit);
    void forgetBase(DataFile file) { changes_[index(file)] = {}; }
    // A change from elsewhere: saved to its file, not put off by, nor putting
    // off, the save of a change made here; shown again.
    void appliedFromElsewhere(DataFile file, int at = -1);
    Unjournaled unjournaled_;

    ItemList items_;
    std::shared_ptr<LogList> log_ = std::make_shared<LogList>();
    // The log to change: a copy of its own while a reader shares it.
    LogList& ownLog(bool appendOnly = false);
    std::weak_ptr<const LogList> lent_;
    SeasoningList seasonings_{};
    SeasoningList defaults_{};
    qint32 barShift_ = DefaultPressureBarShift;
    QString target_;
    bool itemImportPending_ = false;
    bool logImportPending_ = false;
    QString exchangeFile_;
    ItemList itemsBeforeImport_;
    LogList logBeforeImport_;
    bool logInOrder_ = true;
    void setLog(LogList log);
    std::array<FileChanges, DataFileCount> changes_{};
    std::array<quint64, DataFileCount> generation_{};
};

}  // namespace morv
