#pragma once
// The diary with everything that keeps it on disk: the five data files, the
// watch on the folder and the merge of what another program (a sync program)
// changed there, the save about two seconds after a change, and the log's
// save on a thread of its own. Widget-free: the window decides when to save
// beyond that and how to tell the user, from the typed results and signals.

#include "diary/ChangeJournal.h"
#include "diary/DataFileRequests.h"
#include "diary/Diary.h"
#include "storage/DataFiles.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace morv {

class FolderSync;

// What a save came to.
struct SaveResult {
    std::vector<DataFile> failed;  // the files not written
    QString reason;                // the storage's own words for the last failure
    bool ok() const { return failed.empty(); }
};

class DiaryDocument : public QObject, public DataFileRequests {
    Q_OBJECT
public:
    static constexpr int AutosaveDelayMs = 2000;
    using Now = std::function<QDateTime()>;

    // folder ends in "/"; it has been located (and locked) by the caller.
    // ops is where the data files are written; tests make it fail.
    // machine: this machine, whose journal the changes made here go to.
    DiaryDocument(QString folder, Now now, FileOps& ops = SystemFileOps(), QObject* parent = nullptr,
                  std::optional<Machine> machine = std::nullopt);
    ~DiaryDocument() override;

    Diary& diary() override { return diary_; }
    const Diary& diary() const { return diary_; }
    const QString& folder() const { return files_->folder(); }
    FileOps& ops() const override { return files_->ops(); }

    // ---- Start-up ----
    // Interrupted writes put back, then the four small files read.
    void LoadSmallFiles(const SeasoningList& defaults);
    // The log read, every machine's journal folded over what the files gave;
    // watching the folder begins.
    void LoadLog();
    // Which file was kept aside where, since the last call.
    std::vector<DataFiles::KeptCopy> takeKeptCopies() { return files_->takeKeptCopies(); }
    // The files held back now (their original could not be kept aside).
    QStringList heldBack() const { return files_->heldBack(); }

    // ---- Saving ----
    // The files that changed, a changed log on its own thread (what the
    // autosave's timer runs).
    void SaveInBackground();
    // The files that changed, everything on disk before it returns (a
    // session manager's request).
    SaveResult SaveChangedNow();
    // The close: the watch and the autosave end, a log save still running is
    // waited for, and every file that changed or does not stand as this
    // program writes it is written.
    SaveResult SaveAllAndStop();

    // The program is ending and everything is saved: the log's memory is
    // left to the system, which takes it back at once, rather than freed day
    // by day (a million days take a noticeable moment).
    void LeaveLogAtExit();

    // ---- What the panels ask of the files ----
    // The data of `file` written and marked saved (before an import replaces it).
    bool WriteFile(DataFile file) override;
    // An import preview becomes the file's content; a version another
    // machine saved meanwhile is kept beside it first. false: the preview stays.
    bool AdoptImport(DataFile file) override;
    // The file's data comes back over the preview, or the data kept at the
    // import (false) when the file can no longer be read.
    bool DropImport(DataFile file) override;
    // Kiroku.txt or Enbun.txt deleted, its data emptied.
    bool DeleteFile(DataFile file) override;

signals:
    // A storage failure for the status line ("情報処理中にエラーが発生しました").
    // A failing autosave says so once, until a save works.
    void storageFailed(const QString& text);
    // Something the user must be told: copies kept aside, a merge, a conflict.
    void notice(const QString& text);
    // The held-back files changed, or a save may have cleared them.
    void heldBackChanged(const QStringList& files);

private:
    void folderGone(bool replaced);
    std::vector<DataFile> autosave(bool logAway);
    void changed(DataFile file, bool here);
    int writeFile(DataFile file);
    int writeOnce(DataFile file, bool adoptingImport = false);
    std::vector<DataFile> writeAll();
    SaveResult result(std::vector<DataFile> failed) const;
    // 1 when the save cannot start (reported).
    int startLogSave();
    // Waits for a log save on its thread, if one runs, and takes its result.
    void finishLogSave();
    void reportHeldBack(bool wasHeldBack);

    // Written first at every save, so that the files never hold a change
    // that no journal has.
    bool flushJournal();
    Diary diary_;
    std::unique_ptr<DataFiles> files_;
    std::unique_ptr<ChangeJournal> journal_;
    FolderSync* sync_ = nullptr;
    QTimer autosave_;
    bool stopped_ = false;
    bool autosaveFailing_ = false;
    bool quiet_ = false;
    QString lastReason_;  // the storage's last failure, told or not
    // A plain thread: its join is what hands the result over, visible as
    // such to the thread sanitizer (Qt's own waits are not).
    std::thread logSave_;
    // What it writes; held and dropped here only, so that the diary sees
    // exactly when it shares its log.
    std::shared_ptr<const LogList> logSnapshot_;
    // Set over there once the log is no longer read; an atomic, so that the
    // thread sanitizer sees the hand-over (Qt's event queue it does not).
    std::atomic<bool> logEncoded_{false};
    quint64 logSaveRun_ = 0;  // which save a late "finished" belongs to
    std::optional<DataFiles::LogWritten> logSaved_;
    quint64 logSaveGeneration_ = 0;
};

}  // namespace morv
