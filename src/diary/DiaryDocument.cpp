#include "diary/DiaryDocument.h"

#include "diary/DiaryBooks.h"

#include "diary/FolderSync.h"
#include "diary/KeptCopyText.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace morv {

DiaryDocument::DiaryDocument(QString folder, Now now, FileOps& ops, QObject* parent,
                             std::optional<Machine> machine)
    : QObject(parent) {
    setObjectName(QStringLiteral("DiaryDocument"));
    files_ = std::make_unique<DataFiles>(
        std::move(folder),
        [this](const QString& text) {
            lastReason_ = text;
            if (!quiet_) emit storageFailed(text);
        },
        now, ops);
    journal_ = std::make_unique<ChangeJournal>(diary_, files_->folder(),
                                               machine ? *machine : ThisMachine(DefaultStateFolder()), ops,
                                               [now] { return now().toMSecsSinceEpoch(); });
    sync_ = new FolderSync(
        diary_, *files_, *journal_, [this](const QString& text) { emit notice(text); }, this);
    connect(sync_, &FolderSync::folderGone, this, &DiaryDocument::folderGone);
    autosave_.setObjectName(QStringLiteral("AutosaveTimer"));
    autosave_.setSingleShot(true);
    autosave_.setInterval(AutosaveDelayMs);
    autosave_.setParent(this);
    connect(&autosave_, &QTimer::timeout, this, &DiaryDocument::SaveInBackground);
    connect(&diary_, &Diary::changed, this, &DiaryDocument::changed);
}

DiaryDocument::~DiaryDocument() {
    // A log save still running writes from its own snapshot; it ends first.
    if (logSave_.joinable()) logSave_.join();
}

void DiaryDocument::changed(DataFile, bool here) {
    if (stopped_) return;
    // The delay counts from the last change made here: a change merged in
    // from elsewhere never puts off saving one made here.
    if (here || !autosave_.isActive()) autosave_.start();
}

void DiaryDocument::folderGone(bool replaced) {
    // Moved into a sync folder, say, while the window was open. Nothing is
    // followed and nothing counts as deleted: everything held here is written
    // anew into the folder at the next save, as a first run would.
    files_->ForgetVersions();
    for (const DataKind& kind : DataKinds) DiaryBooks(diary_).MarkUnsaved(kind.file);
    const QString name = QDir::toNativeSeparators(QDir::cleanPath(files_->folder()));
    if (stopped_) return;
    if (replaced)
        emit notice(
            QStringLiteral(
                "データフォルダ「%1」が、別のフォルダに置き換わりました。"
                "データはこの画面にすべて残っています。次の保存で、そのフォルダに"
                "すべてのデータを書き込みます。そのフォルダにしかない記録は取り込んで、お知らせします。")
                .arg(name));
    else
        emit notice(
            QStringLiteral("データフォルダ「%1」が見つかりません (移動または削除されたようです)。"
                           "データはこの画面にすべて残っています。次の保存で、このフォルダを作り直して"
                           "すべてのデータを書き込みます。")
                .arg(name));
}

// ---- Start-up ----

void DiaryDocument::LoadSmallFiles(const SeasoningList& defaults) {
    // From here on a failing step is passed over; the storage reports its own
    // failures.
    files_->Prepare();
    diary_.LoadSeasoningDefaults(defaults);
    for (const DataKind& kind : DataKinds) {
        if (kind.file == DataFile::Enbun) continue;  // after the first paint (LoadLog)
        FileVersion version;
        kind.read(*files_, version, nullptr);
        kind.load(diary_, std::move(version));
    }
}

void DiaryDocument::LoadLog() {
    FileVersion version;
    KindOf(DataFile::Enbun).read(*files_, version, nullptr);
    diary_.LoadDailyLog(std::move(version.log));
    // Each file read stands at its own time until a journal says otherwise.
    std::array<std::optional<qint64>, DataFileCount> times{};
    for (const DataKind& kind : DataKinds)
        if (const QFileInfo info(files_->folder() + StemOf(kind.file) + QLatin1String(".txt")); info.isFile())
            times[static_cast<size_t>(kind.file)] = info.lastModified().toMSecsSinceEpoch();
    journal_->Start(times);
    if (const QString text = journal_->TakeNotice(); !text.isEmpty()) emit notice(text);
    sync_->Start();
}

bool DiaryDocument::flushJournal() {
    if (journal_->Flush()) return true;
    // The files are written all the same: they hold the change, and the
    // journal takes it at the next save.
    lastReason_ = StorageErrorText;
    if (!quiet_) emit storageFailed(StorageErrorText);
    return false;
}

// ---- Saving ----

void DiaryDocument::SaveInBackground() {
    if (stopped_) return;
    // One log save at a time: the changes made meanwhile go with the next.
    if (logSave_.joinable()) return autosave_.start();
    autosave(true);
}

SaveResult DiaryDocument::SaveChangedNow() {
    autosave_.stop();
    if (stopped_) return {};
    return result(autosave(false));
}

SaveResult DiaryDocument::result(std::vector<DataFile> failed) const {
    QString reason = failed.empty() ? QString() : lastReason_;
    return {std::move(failed), std::move(reason)};
}

std::vector<DataFile> DiaryDocument::autosave(bool logAway) {
    finishLogSave();
    // A folder gone is written anew here and now, the log included, before
    // it is watched again.
    const bool gone = !sync_->FolderHere();
    if (gone) {
        logAway = false;
        // Another folder in its place is read from from now on, and merged with.
        sync_->AdoptFolder();
    }
    const bool wasHeldBack = !files_->heldBack().isEmpty();
    quiet_ = autosaveFailing_;
    std::vector<DataFile> failed;
    flushJournal();
    for (const DataKind& kind : DataKinds) {
        const DataFile file = kind.file;
        if (!DiaryBooks(diary_).HasChanges(file)) continue;
        const bool logWritten = diary_.LogCount() > 0 && !diary_.LogImportPending();
        if (logAway && file == DataFile::Enbun && logWritten ? startLogSave() : writeFile(file))
            failed.push_back(file);
    }
    // What a write took in from a file changed meanwhile goes to the journal too.
    flushJournal();
    autosaveFailing_ = !failed.empty();
    quiet_ = false;
    if (gone && failed.empty()) sync_->AdoptFolder();
    reportHeldBack(wasHeldBack);
    return failed;
}

void DiaryDocument::reportHeldBack(bool wasHeldBack) {
    // A file held back keeps its line over the storage message, until a save
    // has made its copy and written it.
    if (!files_->heldBack().isEmpty() || (wasHeldBack && !autosaveFailing_))
        emit heldBackChanged(files_->heldBack());
}

SaveResult DiaryDocument::SaveAllAndStop() {
    stopped_ = true;
    // A folder that went away unnoticed is written anew all the same, without
    // a word at the close.
    sync_->FolderHere();
    sync_->Stop();
    finishLogSave();
    autosave_.stop();
    return result(writeAll());
}

std::vector<DataFile> DiaryDocument::writeAll() {
    // What changed, and what the files do not hold as this program writes
    // it (never read, read in another form, kept aside as unreadable): a
    // close with nothing changed encodes nothing.
    std::vector<DataFile> failed;
    flushJournal();
    for (const DataKind& kind : DataKinds)
        if ((DiaryBooks(diary_).HasChanges(kind.file) || !files_->StandsAsWritten(StemOf(kind.file))) &&
            writeFile(kind.file))
            failed.push_back(kind.file);
    // What a write took in from a file changed meanwhile goes to the journal too.
    flushJournal();
    return failed;
}

int DiaryDocument::writeFile(DataFile file) {
    int failed = writeOnce(file);
    for (int tries = 0; failed == DataFiles::ChangedElsewhere && tries < 3; ++tries) {
        sync_->SyncFile(file);
        failed = writeOnce(file);
    }
    // Still changing under every try: not saved this time.
    return failed == DataFiles::ChangedElsewhere ? 1 : failed;
}

int DiaryDocument::writeOnce(DataFile file, bool adoptingImport) {
    // Stays a change until a write works, so the next save tries again.
    const int failed = KindOf(file).write(*files_, diary_, adoptingImport);
    return failed;
}

int DiaryDocument::startLogSave() {
    const std::optional<DataFiles::LogWrite> how = files_->BeginLogWrite();
    if (!how) return 1;
    logSaveGeneration_ = DiaryBooks(diary_).Generation(DataFile::Enbun);
    // The log itself, not a copy: while this holds it, a change made here
    // goes to a copy of the diary's own (a million days are 32 MB), but for
    // a new last day, which goes after the days read here. Building
    // 27 MB of text, comparing and writing it happens over there.
    logSnapshot_ = DiaryBooks(diary_).LendLog();
    sync_->Hold(DataFile::Enbun, true);
    const quint64 run = ++logSaveRun_;
    logEncoded_.store(false);
    const std::span<const LogRecord> days(logSnapshot_->data(), logSnapshot_->size());
    logSave_ = std::thread([this, run, how = *how, log = days, &ops = files_->ops()] {
        // Once its text is built the log is let go, so that a change made
        // during the comparing and writing (most of the save) copies nothing.
        logSaved_ = DataFiles::WriteLog(ops, how, log, [this, run] {
            logEncoded_.store(true, std::memory_order_release);
            QMetaObject::invokeMethod(
                this,
                [this, run] {
                    if (logSaveRun_ == run && logEncoded_.load(std::memory_order_acquire))
                        logSnapshot_.reset();
                },
                Qt::QueuedConnection);
        });
        // The result is taken on the document's own thread, unless it has already.
        QMetaObject::invokeMethod(
            this,
            [this, run] {
                if (logSaveRun_ == run) finishLogSave();
            },
            Qt::QueuedConnection);
    });
    return 0;
}

void DiaryDocument::finishLogSave() {
    if (!logSave_.joinable()) return;
    logSave_.join();
    logSnapshot_.reset();
    sync_->Hold(DataFile::Enbun, false);
    if (!logSaved_) return;
    quiet_ = autosaveFailing_;
    int failed = files_->FinishLogWrite(*std::exchange(logSaved_, std::nullopt));
    if (failed == 0) {
        DiaryBooks(diary_).SavedAsOf(DataFile::Enbun, logSaveGeneration_);
    } else if (failed == DataFiles::ChangedElsewhere) {
        // Changed elsewhere meanwhile: merged and written here, as any save.
        failed = writeFile(DataFile::Enbun);
    }
    if (failed) autosaveFailing_ = true;
    quiet_ = false;
}

void DiaryDocument::LeaveLogAtExit() { DiaryBooks(diary_).LeaveLogAtExit(); }

// ---- What the panels ask of the files ----

bool DiaryDocument::WriteFile(DataFile file) {
    finishLogSave();
    flushJournal();
    return writeOnce(file) == 0;
}

bool DiaryDocument::AdoptImport(DataFile file) {
    finishLogSave();
    // "上書き" replaces the file whatever it holds; a version another machine
    // saved meanwhile is kept beside it first.
    int status = writeOnce(file, true);
    if (status == DataFiles::ChangedElsewhere)
        status = files_->KeepChangedVersion(StemOf(file)) ? writeOnce(file, true) : 1;
    if (status != 0) return false;
    if (file == DataFile::Kiroku)
        DiaryBooks(diary_).EndItemImport();
    else
        DiaryBooks(diary_).EndLogImport();
    // The adopted table is this machine's change from now on.
    flushJournal();
    return true;
}

bool DiaryDocument::DropImport(DataFile file) {
    finishLogSave();
    if (file == DataFile::Kiroku) {
        // Read over the previewed table, as a start-up reads over a fresh one:
        // slots the file does not reach keep what they show.
        ItemList items = diary_.ItemTable();
        const bool read = files_->KirokuFileRead(items) == 0;
        DiaryBooks(diary_).DropItemImport(read ? &items : nullptr);
        return read;
    }
    LogList log;
    const bool read = files_->EnbunFileRead(log) == 0;
    DiaryBooks(diary_).DropLogImport(read ? &log : nullptr);
    return read;
}

bool DiaryDocument::DeleteFile(DataFile file) {
    finishLogSave();
    if (file == DataFile::Kiroku) {
        if (files_->KirokuFileDelete() != 0) return false;
        DiaryBooks(diary_).ClearItemTable();
        DiaryBooks(diary_).Saved(DataFile::Kiroku);
    } else {
        // What came in unseen is taken in first, so the deletion covers
        // exactly the days this machine knew of.
        sync_->SyncFile(DataFile::Enbun);
        if (files_->EnbunFileDelete() != 0) return false;
        diary_.DeleteAllDays();
        DiaryBooks(diary_).Saved(DataFile::Enbun);
    }
    flushJournal();
    return true;
}

}  // namespace morv
