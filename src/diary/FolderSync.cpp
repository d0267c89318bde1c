#include "diary/FolderSync.h"

#include "diary/KeptCopyText.h"
#include "diary/LogReread.h"
#include "diary/SyncMerge.h"
#include "storage/DataFiles.h"
#include "storage/LogExchange.h"
#include "storage/UsualLog.h"
#include "text/Cp932.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace morv {
namespace {

bool ImportPending(const Diary& diary, DataFile file) {
    return (file == DataFile::Kiroku && diary.ItemImportPending()) ||
           (file == DataFile::Enbun && diary.LogImportPending());
}

QString ConflictText(const QString& file, const QString& copy) {
    return QStringLiteral(
               "「%1」はほかの場所でも変更されていました。両方で変わった記録はこの画面の内容を残し、"
               "ほかの場所での内容は次のファイルに残しました。\n%2")
        .arg(file, copy);
}

QString UnreadableCopyText(const QString& copy) {
    return QStringLiteral(
               "同期プログラムが残した「%1」は塩分一覧として読み込めませんでした。"
               "このファイルはそのまま残しています。")
        .arg(copy);
}

QString LeftoverBackupText(const QString& file, int days, const QString& copy) {
    return QStringLiteral(
               "「%1」は、ほかのコンピューターからのものか、より新しい「%2」があるため元に戻しませんでした。"
               "塩分一覧にない %3 日分をそこから加えました。元の内容は次のファイルに残しました。\n%4")
        .arg(file, file.left(file.indexOf(u'.')) + QLatin1String(".txt"))
        .arg(days)
        .arg(copy);
}

QString KeptBackupText(const QString& file, const QString& copy) {
    return QStringLiteral(
               "「%1」は、ほかのコンピューターからのものか、より新しい「%2」があるため元に戻しませんでした。"
               "その内容は次のファイルに残しました。\n%3")
        .arg(file, file.left(file.indexOf(u'.')) + QLatin1String(".txt"), copy);
}

QString UnreadableSmallCopyText(const QString& copy) {
    return QStringLiteral(
               "同期プログラムが残した「%1」を読み込めませんでした。このファイルはそのまま残しています。")
        .arg(copy);
}

// The first ten of `names`, and how many more there are.
QString SomeOf(const QStringList& names) {
    constexpr int Named = 10;
    QString text = QStringList(names.mid(0, Named)).join(QStringLiteral("、"));
    if (names.size() > Named) text += QStringLiteral(" ほか %1 件").arg(names.size() - Named);
    return text;
}

// "品目 1 ページ 5 行目" for item slots, "調味料 3 行目" for seasoning rows,
// "塩分目標" for the target.
QString RowsText(DataFile file, const std::set<int>& rows) {
    if (file == DataFile::Moku) return QStringLiteral("塩分目標");
    QStringList names;
    for (int row : rows) {
        names << (file == DataFile::Kiroku
                      ? QStringLiteral("品目 %1 ページ %2 行目").arg(row / 16 + 1).arg(row % 16 + 1)
                      : QStringLiteral("調味料 %1 行目").arg(row + 1));
    }
    return SomeOf(names);
}

// A copy another program left in the folder: a plain file of at most
// `ceiling` bytes, never a FIFO or a link elsewhere.
std::optional<QByteArray> ReadCopy(const QString& path, qint64 ceiling) {
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode) ||
        st.st_size > ceiling)
        return std::nullopt;
    QFile copy(path);
    if (!copy.open(QIODevice::ReadOnly)) return std::nullopt;
    return copy.readAll();
}

QString SmallCopyMergedText(const QString& copy, const QString& rows, const QString& renamed) {
    return QStringLiteral(
               "同期プログラムが残した「%1」から、ほかのコンピューターで変えた内容 (%2) を加えました。"
               "このファイルは二度加えないよう、次の名前に変えました。\n%3")
        .arg(copy, rows, renamed);
}

QString SmallCopyConflictText(const QString& copy, const QString& file, const QString& rows,
                              const QString& kept) {
    return QStringLiteral(
               "「%1」は2台のコンピューターで同時に変更されていました (同期プログラムが「%2」を残しました)。"
               "両方で変わった内容 (%3) "
               "はこのコンピューターの内容を残し、ほかの内容は次のファイルに残しました。\n%4")
        .arg(file, copy, rows, kept);
}

// "Kiroku.conflict-YYYYMMDD-HHMMSS.txt", -2, -3, ... when taken.
QString ConflictCopyPath(const QDir& dir, const QString& stem, const QString& stamp) {
    QString path = dir.filePath(stem + QLatin1String(".conflict-") + stamp + QLatin1String(".txt"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1.conflict-%2-%3.txt").arg(stem, stamp).arg(n));
    return path;
}

std::optional<std::pair<quint64, quint64>> IdentityOf(const QString& folder) {
    struct stat st;
    if (::stat(QFile::encodeName(folder).constData(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
    return std::make_pair(static_cast<quint64>(st.st_dev), static_cast<quint64>(st.st_ino));
}

QString MergedCopyText(const QString& copy, int days, const QString& renamed) {
    return QStringLiteral(
               "同期プログラムが残した「%1」から、塩分一覧にない %2 日分を加えました。"
               "このファイルは二度加えないよう、次の名前に変えました。\n%3")
        .arg(copy)
        .arg(days)
        .arg(renamed);
}

}  // namespace

QString StemOf(DataFile file) {
    switch (file) {
        case DataFile::Kiroku:
            return QStringLiteral("Kiroku");
        case DataFile::Chomi:
            return QStringLiteral("Chomi");
        case DataFile::Moku:
            return QStringLiteral("Moku");
        case DataFile::Enbun:
            return QStringLiteral("Enbun");
        case DataFile::Atu:
            return QStringLiteral("Atu");
    }
    return {};
}

FolderSync::FolderSync(Diary& diary, DataFiles& files, Tell tell, Now now, QObject* parent)
    : QObject(parent), diary_(diary), files_(files), tell_(std::move(tell)), now_(std::move(now)) {
    settle_.setSingleShot(true);
    settle_.setInterval(SettleMs);
    connect(&settle_, &QTimer::timeout, this, [this] {
        // What the watcher leads to: the log away from this thread.
        logAway_ = true;
        CheckNow();
        logAway_ = false;
    });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &FolderSync::changeSeen);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &FolderSync::changeSeen);
    reread_ = new LogReread(
        diary_, files_, [this] { return !held_.contains(DataFile::Enbun) && !stopped_; }, this);
    connect(reread_, &LogReread::taken, this, &FolderSync::logRereadTaken);
    connect(reread_, &LogReread::readHere, this, [this] { SyncFile(DataFile::Enbun); });
    connect(reread_, &LogReread::stale, this, &FolderSync::rereadLogAway);
}

void FolderSync::changeSeen() {
    // A burst is taken as one, but a folder that never falls quiet (another
    // program renaming there every moment) still gets looked at in time.
    if (!settle_.isActive()) pendingSince_.start();
    if (pendingSince_.elapsed() < MaxWaitMs - SettleMs) settle_.start();
}

bool FolderSync::FolderHere() {
    const auto now = IdentityOf(files_.folder());
    if (!gone_ && now && (!folderId_ || *now == *folderId_)) {
        if (!folderId_) folderId_ = now;
        return true;
    }
    if (!gone_) {
        gone_ = true;
        emit folderGone();
    }
    return false;
}

void FolderSync::AdoptFolder() {
    if (!gone_) return;
    folderId_ = IdentityOf(files_.folder());
    if (!folderId_) return;
    gone_ = false;
    if (!stopped_) watch();
}

void FolderSync::Start() {
    folderId_ = IdentityOf(files_.folder());
    for (const QString& name : conflictCopies()) knownConflicts_.insert(name);
    watch();
    // Once the window runs its events: a message may follow.
    QTimer::singleShot(0, this, &FolderSync::CheckNow);
}

void FolderSync::watch() {
    const QString folder = QDir::cleanPath(files_.folder());
    // The folder above tells when the data folder itself is moved or removed.
    QStringList folders;
    for (const QString& path : {folder, QFileInfo(folder).absolutePath()})
        if (QFileInfo(path).isDir() && !watcher_.directories().contains(path)) folders << path;
    if (!folders.isEmpty()) watcher_.addPaths(folders);
    // A file replaced by a rename is a new file: its watch went with the old one.
    QStringList files;
    for (DataFile file : AllDataFiles) {
        const QString path = files_.folder() + StemOf(file) + QLatin1String(".txt");
        if (QFileInfo::exists(path) && !watcher_.files().contains(path)) files << path;
    }
    if (!files.isEmpty()) watcher_.addPaths(files);
}

void FolderSync::CheckNow() {
    if (stopped_ || !FolderHere()) return;
    watch();
    for (DataFile file : AllDataFiles)
        if (file != DataFile::Enbun || !logAway_ || !rereadLogAway()) SyncFile(file);
    mergeLeftoverBackups();
    mergeConflictCopies();
    mergeSmallConflictCopies();
    // Copies kept by saves since (an import adopted over a change made elsewhere).
    const auto kept = files_.takeKeptCopies();
    for (const DataFiles::KeptCopy& k : kept) knownConflicts_.insert(QFileInfo(k.copy).fileName());
    if (!kept.empty()) tell(KeptCopiesText(kept));
    tellConflictsFromElsewhere();
}

void FolderSync::Stop() {
    stopped_ = true;
    settle_.stop();
    reread_->Stop();
    const QStringList watched = watcher_.files() + watcher_.directories();
    if (!watched.isEmpty()) watcher_.removePaths(watched);
}

void FolderSync::tell(const QString& text) { tell_(text); }

void FolderSync::Hold(DataFile file, bool held) {
    if (held) {
        held_.insert(file);
    } else if (held_.remove(file) && !stopped_) {
        // Anything another program did meanwhile is seen now.
        settle_.start();
    }
}

bool FolderSync::SyncFile(DataFile file) {
    const QString stem = StemOf(file);
    if (held_.contains(file) || ImportPending(diary_, file) || !FolderHere() || !files_.ChangedOnDisk(stem))
        return false;
    files_.KeepReadBytes(true);
    DataFiles::ReadUse use = DataFiles::ReadUse::Replace;
    ItemList items = NewItemTable();
    SeasoningList seasonings{};
    LogList log;
    QString target;
    qint32 shift = DefaultPressureBarShift;
    switch (file) {
        case DataFile::Kiroku:
            files_.KirokuFileRead(items, &use);
            break;
        case DataFile::Chomi:
            files_.ChomiFileRead(seasonings, &use);
            break;
        case DataFile::Moku:
            files_.MokuFileRead(target, &use);
            break;
        case DataFile::Enbun:
            files_.EnbunFileRead(log, &use);
            break;
        case DataFile::Atu:
            files_.AtuFileRead(shift, &use);
            break;
    }
    const QByteArray bytes = files_.TakeReadBytes();
    files_.KeepReadBytes(false);
    const bool keep = use == DataFiles::ReadUse::Keep;
    const auto kept = files_.takeKeptCopies();
    for (const DataFiles::KeptCopy& k : kept) knownConflicts_.insert(QFileInfo(k.copy).fileName());
    if (!kept.empty()) tell(KeptCopiesText(kept, keep ? KeptWhen::KeptInMemory : KeptWhen::AtStart));
    // Nothing usable there (broken, too large, no regular file, unreadable):
    // this copy's data stays as it is, rather than be replaced by what
    // little could be read, and is written back at the next save.
    if (keep) {
        diary_.MarkUnsaved(file);
        return true;
    }

    // What the file holds now is a version seen here, whatever the merge makes of it.
    switch (file) {
        case DataFile::Kiroku:
            seenItems_.remember(ItemList(items.begin(), items.begin() + StoredItemCount));
            break;
        case DataFile::Chomi:
            seenSeasonings_.remember({seasonings.begin(), seasonings.end()});
            break;
        case DataFile::Moku:
            seenTargets_.remember({target});
            break;
        case DataFile::Enbun:
        case DataFile::Atu:
            break;
    }
    // A log deleted here: what comes back is what was added or changed elsewhere.
    const bool deletedHere = file == DataFile::Enbun && diary_.LogCount() == 0 && diary_.HasChanges(file);
    bool conflict = false;
    switch (file) {
        case DataFile::Kiroku:
            conflict = diary_.TakeItemTable(std::move(items));
            break;
        case DataFile::Chomi:
            conflict = diary_.TakeSeasoningTable(seasonings);
            break;
        case DataFile::Moku:
            conflict = diary_.TakeSaltTarget(target);
            break;
        case DataFile::Enbun:
            conflict = diary_.TakeDailyLog(std::move(log));
            break;
        case DataFile::Atu:
            conflict = diary_.TakePressureBarShift(shift);
            break;
    }
    // The file brought back only days deleted here: it goes again.
    if (deletedHere && diary_.LogCount() == 0 && files_.EnbunFileDelete() == 0) diary_.Saved(file);
    if (deletedHere && diary_.LogCount() > 0) {
        QStringList dates;
        for (const LogRecord& day : diary_.DailyLog()) dates << day.LogDate;
        tell(
            QStringLiteral("削除した塩分一覧に、ほかのコンピューターで加えたか変えた %1 日分が戻りました: %2")
                .arg(dates.size())
                .arg(SomeOf(dates)));
    }
    if (conflict) {
        const QString copy = files_.KeepConflictCopy(stem, bytes);
        knownConflicts_.insert(QFileInfo(copy).fileName());
        if (!copy.isEmpty()) tell(ConflictText(stem + QLatin1String(".txt"), copy));
    }
    return true;
}

void FolderSync::mergeLeftoverBackups() {
    for (const DataFiles::LeftoverBackup& backup : files_.takeLeftoverBackups()) {
        const QString file = backup.stem + QLatin1String(".bak");
        if (backup.stem != StemOf(DataFile::Enbun) || diary_.LogImportPending()) {
            if (!backup.copy.isEmpty()) tell(KeptBackupText(file, backup.copy));
            continue;
        }
        // Another machine's saved days are never lost to it, and neither are
        // the days only the backup has: those are added by date, as a
        // change made elsewhere.
        LogList days;
        ParseLog(backup.bytes, days);
        const int added = diary_.AddMissingDays(days);
        if (added > 0 || !backup.copy.isEmpty()) tell(LeftoverBackupText(file, added, backup.copy));
    }
}

void FolderSync::Remember(DataFile file) {
    switch (file) {
        case DataFile::Kiroku: {
            const ItemList& items = diary_.ItemTable();
            seenItems_.remember(
                ItemList(items.begin(), items.begin() + std::min<size_t>(items.size(), StoredItemCount)));
            break;
        }
        case DataFile::Chomi:
            seenSeasonings_.remember({diary_.SeasoningTable().begin(), diary_.SeasoningTable().end()});
            break;
        case DataFile::Moku:
            seenTargets_.remember({diary_.SaltTarget()});
            break;
        case DataFile::Enbun:
        case DataFile::Atu:
            break;
    }
}

void FolderSync::mergeSmallConflictCopies() {
    const QDir dir(files_.folder().isEmpty() ? QStringLiteral(".") : files_.folder());
    for (DataFile file : {DataFile::Kiroku, DataFile::Chomi, DataFile::Moku}) {
        if (ImportPending(diary_, file)) continue;
        const QString stem = StemOf(file);
        for (const QString& name :
             dir.entryList({stem + QLatin1Char('*')}, QDir::Files | QDir::Hidden, QDir::Name)) {
            if (!IsSyncConflictCopy(name, stem) || refused_.contains(name)) continue;
            const QString path = dir.filePath(name);
            const std::optional<QByteArray> bytes = ReadCopy(path, DataFileCeiling(stem));
            if (!bytes || !mergeSmallCopy(file, path, *bytes)) {
                refused_.insert(name);
                tell(UnreadableSmallCopyText(path));
            }
        }
    }
}

bool FolderSync::mergeSmallCopy(DataFile file, const QString& path, const QByteArray& bytes) {
    const QString stem = StemOf(file);
    CopyMerge merge;
    switch (file) {
        case DataFile::Kiroku: {
            const std::optional<ItemList> copy = ItemsOfCopy(bytes);
            if (!copy) return false;
            const ItemList& table = diary_.ItemTable();
            const ItemList data(table.begin(),
                                table.begin() + std::min<size_t>(table.size(), StoredItemCount));
            const ItemList theirs(copy->begin(), copy->begin() + StoredItemCount);
            merge =
                MergeCopyRows(data, theirs, seenItems_.baseFor(theirs, data), seenItems_.contains(theirs));
            for (int slot : merge.taken) diary_.SetItem(slot, theirs[static_cast<size_t>(slot)]);
            break;
        }
        case DataFile::Chomi: {
            const std::optional<SeasoningList> copy = SeasoningsOfCopy(bytes);
            if (!copy) return false;
            const std::vector<SeasoningRecord> data(diary_.SeasoningTable().begin(),
                                                    diary_.SeasoningTable().end());
            const std::vector<SeasoningRecord> theirs(copy->begin(), copy->end());
            merge = MergeCopyRows(data, theirs, seenSeasonings_.baseFor(theirs, data),
                                  seenSeasonings_.contains(theirs));
            for (int row : merge.taken) {
                diary_.SetSeasoningName(row, theirs[static_cast<size_t>(row)].SeasoningName);
                diary_.SetUnitSalt(row, theirs[static_cast<size_t>(row)].UnitSalt);
            }
            break;
        }
        default: {
            const std::vector<QString> data{diary_.SaltTarget()};
            const std::vector<QString> theirs{TargetOfCopy(bytes)};
            merge = MergeCopyRows(data, theirs, seenTargets_.baseFor(theirs, data),
                                  seenTargets_.contains(theirs));
            if (!merge.taken.empty()) diary_.SetSaltTarget(theirs.front());
            break;
        }
    }
    // Renamed either way, so that it is merged once: as the losing version
    // of a conflict, or as merged.
    const QDir dir = QFileInfo(path).dir();
    const QString stamp = now_().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString renamed = MergedCopyName(stem, stamp);
    for (int n = 2; dir.exists(renamed); ++n) renamed = MergedCopyName(stem, stamp, n);
    QString kept = dir.filePath(renamed);
    if (!merge.conflicts.empty()) {
        const bool copyIsOurs = !merge.taken.empty() && merge.taken.count(*merge.conflicts.begin());
        if (copyIsOurs) {
            // This machine's own save lost in the sync program: its values
            // stay, and the file's, which lose now, are what is kept aside.
            QFile current(files_.folder() + stem + QLatin1String(".txt"));
            if (!current.open(QIODevice::ReadOnly)) return false;
            kept = files_.KeepConflictCopy(stem, current.readAll());
            knownConflicts_.insert(QFileInfo(kept).fileName());
            if (kept.isEmpty()) return false;
        } else {
            kept = ConflictCopyPath(dir, stem, stamp);
            renamed = QFileInfo(kept).fileName();
            knownConflicts_.insert(renamed);
        }
    }
    if (!QFile::rename(path, dir.filePath(renamed))) return false;
    const QString name = QFileInfo(path).fileName();
    if (!merge.conflicts.empty())
        tell(
            SmallCopyConflictText(name, stem + QLatin1String(".txt"), RowsText(file, merge.conflicts), kept));
    else if (!merge.taken.empty())
        tell(SmallCopyMergedText(name, RowsText(file, merge.taken), kept));
    return true;
}

QStringList FolderSync::conflictCopies() const {
    const QDir dir(files_.folder().isEmpty() ? QStringLiteral(".") : files_.folder());
    QStringList names;
    for (DataFile file : AllDataFiles)
        names += dir.entryList({StemOf(file) + QLatin1String(".conflict-*.txt")}, QDir::Files, QDir::Name);
    return names;
}

void FolderSync::tellConflictsFromElsewhere() {
    const QDir dir(files_.folder().isEmpty() ? QStringLiteral(".") : files_.folder());
    for (const QString& name : conflictCopies()) {
        if (knownConflicts_.contains(name)) continue;
        knownConflicts_.insert(name);
        const QString path = dir.filePath(name);
        const QString stem = name.section(u'.', 0, 0);
        const std::optional<QByteArray> bytes = ReadCopy(path, DataFileCeiling(stem));
        if (!bytes) continue;
        // The records whose value there differs from what the diary holds now.
        QString records;
        if (stem == StemOf(DataFile::Enbun)) {
            LogList days;
            ParseLog(*bytes, days);
            QStringList dates;
            for (const LogRecord& day : days) {
                const LogPlace place = diary_.FindPlace(day.LogDate);
                if (place.kind != LogPlace::Kind::Existing ||
                    !(diary_.DailyLog()[static_cast<size_t>(place.index)] == day))
                    dates << day.LogDate;
            }
            records = SomeOf(dates);
        } else if (stem == StemOf(DataFile::Kiroku)) {
            if (const auto items = ItemsOfCopy(*bytes))
                if (const auto rows = RowsThatDiffer(*items, diary_.ItemTable(), StoredItemCount);
                    !rows.empty())
                    records = RowsText(DataFile::Kiroku, rows);
        } else if (stem == StemOf(DataFile::Chomi)) {
            if (const auto seasonings = SeasoningsOfCopy(*bytes))
                if (const auto rows = RowsThatDiffer(*seasonings, diary_.SeasoningTable(), SeasoningRowCount);
                    !rows.empty())
                    records = RowsText(DataFile::Chomi, rows);
        } else if (stem == StemOf(DataFile::Moku) && TargetOfCopy(*bytes) != diary_.SaltTarget()) {
            records = RowsText(DataFile::Moku, {});
        }
        if (records.isEmpty()) continue;
        tell(QStringLiteral("ほかのコンピューターで「%1」をまとめたとき、両方で変わっていた内容 (%2) は"
                            "向こうの内容になりました。こちらの内容は次のファイルに残っています。\n%3")
                 .arg(stem + QLatin1String(".txt"), records, path));
    }
}

void FolderSync::mergeConflictCopies() {
    if (diary_.LogImportPending()) return;
    const QString stem = StemOf(DataFile::Enbun);
    const QDir dir(files_.folder().isEmpty() ? QStringLiteral(".") : files_.folder());
    for (const QString& name :
         dir.entryList({stem + QLatin1Char('*')}, QDir::Files | QDir::Hidden, QDir::Name)) {
        if (!IsSyncConflictCopy(name, stem) || refused_.contains(name)) continue;
        const QString path = dir.filePath(name);
        const std::optional<QByteArray> bytes = ReadCopy(path, MaxLogFileBytes);
        LogList days;
        if (!bytes || ReadLogExchange(DecodeCp932(*bytes), days) != LogCheck::Accepted) {
            refused_.insert(name);
            tell(UnreadableCopyText(path));
            continue;
        }
        const QString stamp = now_().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        QString renamed = MergedCopyName(stem, stamp);
        for (int n = 2; dir.exists(renamed); ++n) renamed = MergedCopyName(stem, stamp, n);
        if (!QFile::rename(path, dir.filePath(renamed))) {
            refused_.insert(name);
            continue;
        }
        // A copy that adds nothing is merged without a word.
        if (const int added = diary_.AddMissingDays(days); added > 0)
            tell(MergedCopyText(name, added, dir.filePath(renamed)));
    }
}

// ---- The log read again away from the window's thread ----

bool FolderSync::rereadLogAway() {
    const DataFile file = DataFile::Enbun;
    if (stopped_ || held_.contains(file) || ImportPending(diary_, file) || !FolderHere() ||
        !files_.ChangedOnDisk(StemOf(file)))
        return false;
    // A log deleted here is merged here, where what comes back is named.
    if (diary_.LogCount() == 0 && diary_.HasChanges(file)) return false;
    reread_->Start();
    return true;
}

void FolderSync::logRereadTaken(bool conflict, const QByteArray& theirs) {
    if (!conflict) return;
    const QString stem = StemOf(DataFile::Enbun);
    const QString copy = files_.KeepConflictCopy(stem, theirs);
    knownConflicts_.insert(QFileInfo(copy).fileName());
    if (!copy.isEmpty()) tell(ConflictText(stem + QLatin1String(".txt"), copy));
}

}  // namespace morv
