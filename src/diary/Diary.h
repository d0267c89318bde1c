#pragma once
// The diary's data for a run: the five files' contents and the state of the
// two imports. It changes only through the operations below; each one that
// really changes something announces its file once, and remembers which
// records changed until that file is saved. Reading a file in is not a
// change: the data is then what the file holds.

#include "diary/Registration.h"
#include "diary/SyncMerge.h"
#include "storage/Records.h"

#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <set>

namespace morv {

enum class DataFile { Kiroku, Chomi, Moku, Enbun, Atu };
inline constexpr std::array<DataFile, 5> AllDataFiles{DataFile::Kiroku, DataFile::Chomi, DataFile::Moku,
                                                      DataFile::Enbun, DataFile::Atu};

// What changed in one file since it was last read or written.
struct FileChanges {
    bool any = false;
    bool whole = false;      // replaced as a whole
    std::set<int> rows;      // item or seasoning slots
    std::set<QString> days;  // dates of the log
};

class Diary : public QObject {
    Q_OBJECT
public:
    Diary();

    const ItemList& ItemTable() const { return items_; }
    const LogList& DailyLog() const { return *log_; }
    int LogCount() const { return static_cast<int>(log_->size()); }
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
    // The preview became the file's content.
    void EndItemImport();
    void EndLogImport();
    // The preview is dropped: the data is `readBack` as the file gave it, or
    // the kept one when the file could not be read.
    void DropItemImport(const ItemList* readBack);
    void DropLogImport(const LogList* readBack);

    // ---- Changes made elsewhere ----
    // The file as another program (a sync program) left it. With nothing
    // changed here since the file was last read or written, it becomes the
    // data; otherwise the two are merged record by record (SyncMerge), and
    // what differs from the file stays a change to save. Either way the data
    // is announced as reloaded. true when a record changed differently on
    // both sides (this copy's value is kept).
    bool TakeItemTable(ItemList theirs);
    bool TakeSeasoningTable(const SeasoningList& theirs);
    bool TakeDailyLog(LogList theirs);
    bool TakeSaltTarget(const QString& theirs);
    bool TakePressureBarShift(qint32 theirs);
    // TakeDailyLog in three steps, its heavy part away from the diary's
    // thread: prepared here, run anywhere, finished here in one step.
    struct LogTake {
        quint64 generation = 0;
        bool changedHere = false;
        std::weak_ptr<const LogList> was;     // the log it was prepared on
        std::shared_ptr<const LogList> ours;  // when merging
        LogBase base;
        bool whole = false;
        LogList theirs;  // the file's days
        // What RunLogTake makes of them.
        MergedLog merged;
        bool inOrder = true;
        // The log it replaced, to be let go away from the diary's thread.
        std::shared_ptr<const LogList> replaced;
    };
    LogTake PrepareLogTake(LogList theirs) const;
    static void RunLogTake(LogTake& take);
    // What TakeDailyLog returns; nothing, and nothing done, when the log
    // changed since it was prepared (it is to be prepared again).
    std::optional<bool> FinishLogTake(LogTake& take);
    // The days of another copy of the log whose dates this one lacks, added
    // as changes; how many.
    int AddMissingDays(const LogList& other);

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

signals:
    // A change to save; `here`: made in this program, not merged in from elsewhere.
    void changed(morv::DataFile file, bool here);
    // What shows the data follows these. -1: any slot or row.
    void itemChanged(int slot);
    void itemDrafted(int slot);
    // The whole table was replaced (read, imported, dropped): shown from its first page.
    void itemsReplaced();
    void seasoningChanged(int row);
    void logChanged();
    void targetChanged();
    void barShiftChanged();
    // The data of the file was replaced from outside (Take*, AddMissingDays):
    // whatever shows it shows it again.
    void reloaded(morv::DataFile file);

private:
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
    void forgetBase(DataFile file);
    // After a merge: what still differs from the file is the change to save.
    template <class Key, class Record>
    void keepUnsaved(DataFile file, const std::map<Key, std::optional<Record>>& stillOurs);

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
    std::array<FileChanges, 5> changes_{};
    std::array<quint64, 5> generation_{};
    // What each changed record held when its file was last read or written:
    // the base of a merge with a change made elsewhere.
    ItemBase itemsBefore_;
    SeasoningBase seasoningsBefore_;
    LogBase daysBefore_;
    std::optional<QString> targetBefore_;
    std::optional<qint32> shiftBefore_;
};

}  // namespace morv
