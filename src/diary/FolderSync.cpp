#include "diary/FolderSync.h"

#include "diary/KeptCopyText.h"
#include "diary/LogReread.h"
#include "diary/SyncMerge.h"
#include "log/core/LogExchange.h"
#include "storage/DataFiles.h"
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
    return QStringLiteral("同期プログラムが残した「%1」は塩分一覧として読み込めませんでした。"
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
        case DataFile::Kiroku: return QStringLiteral("Kiroku");
        case DataFile::Chomi: return QStringLiteral("Chomi");
        case DataFile::Moku: return QStringLiteral("Moku");
        case DataFile::Enbun: return QStringLiteral("Enbun");
        case DataFile::Atu: return QStringLiteral("Atu");
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
    reread_ = new LogReread(diary_, files_, [this] { return !held_.contains(DataFile::Enbun) && !stopped_; }, this);
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
    watch();
    // Once the window runs its events: a message may follow.
    QTimer::singleShot(0, this, &FolderSync::CheckNow);
}

void FolderSync::watch() {
    const QString folder = QDir::cleanPath(files_.folder());
    if (!watcher_.directories().contains(folder)) watcher_.addPath(folder);
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
    // Copies kept by saves since (an import adopted over a change made elsewhere).
    const auto kept = files_.takeKeptCopies();
    if (!kept.empty()) tell(KeptCopiesText(kept));
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
        case DataFile::Kiroku: files_.KirokuFileRead(items, &use); break;
        case DataFile::Chomi: files_.ChomiFileRead(seasonings, &use); break;
        case DataFile::Moku: files_.MokuFileRead(target, &use); break;
        case DataFile::Enbun: files_.EnbunFileRead(log, &use); break;
        case DataFile::Atu: files_.AtuFileRead(shift, &use); break;
    }
    const QByteArray bytes = files_.TakeReadBytes();
    files_.KeepReadBytes(false);
    const bool keep = use == DataFiles::ReadUse::Keep;
    const auto kept = files_.takeKeptCopies();
    if (!kept.empty()) tell(KeptCopiesText(kept, keep ? KeptWhen::KeptInMemory : KeptWhen::AtStart));
    // Nothing usable there (broken, too large, no regular file, unreadable):
    // this copy's data stays as it is, rather than be replaced by what
    // little could be read, and is written back at the next save.
    if (keep) {
        diary_.MarkUnsaved(file);
        return true;
    }

    bool conflict = false;
    switch (file) {
        case DataFile::Kiroku: conflict = diary_.TakeItemTable(std::move(items)); break;
        case DataFile::Chomi: conflict = diary_.TakeSeasoningTable(seasonings); break;
        case DataFile::Moku: conflict = diary_.TakeSaltTarget(target); break;
        case DataFile::Enbun: conflict = diary_.TakeDailyLog(std::move(log)); break;
        case DataFile::Atu: conflict = diary_.TakePressureBarShift(shift); break;
    }
    if (conflict) {
        const QString copy = files_.KeepConflictCopy(stem, bytes);
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

void FolderSync::mergeConflictCopies() {
    if (diary_.LogImportPending()) return;
    const QString stem = StemOf(DataFile::Enbun);
    const QDir dir(files_.folder().isEmpty() ? QStringLiteral(".") : files_.folder());
    for (const QString& name : dir.entryList({stem + QLatin1Char('*')}, QDir::Files | QDir::Hidden, QDir::Name)) {
        if (!IsSyncConflictCopy(name, stem) || refused_.contains(name)) continue;
        const QString path = dir.filePath(name);
        // Only a plain file of a log's size; never a FIFO or a link elsewhere.
        struct stat st;
        if (::lstat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode) ||
            st.st_size > MaxLogFileBytes)
            continue;
        QFile copy(path);
        LogList days;
        if (!copy.open(QIODevice::ReadOnly) || ReadLogExchange(DecodeCp932(copy.readAll()), days) != LogCheck::Accepted) {
            refused_.insert(name);
            tell(UnreadableCopyText(path));
            continue;
        }
        copy.close();
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
    reread_->Start();
    return true;
}

void FolderSync::logRereadTaken(bool conflict, const QByteArray& theirs) {
    if (!conflict) return;
    const QString stem = StemOf(DataFile::Enbun);
    const QString copy = files_.KeepConflictCopy(stem, theirs);
    if (!copy.isEmpty()) tell(ConflictText(stem + QLatin1String(".txt"), copy));
}

}  // namespace morv
