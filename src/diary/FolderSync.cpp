#include "diary/FolderSync.h"

#include "diary/KeptCopyText.h"
#include "diary/SyncMerge.h"
#include "log/core/LogExchange.h"
#include "storage/DataFiles.h"
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
    connect(&settle_, &QTimer::timeout, this, &FolderSync::CheckNow);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_, qOverload<>(&QTimer::start));
    connect(&watcher_, &QFileSystemWatcher::fileChanged, &settle_, qOverload<>(&QTimer::start));
}

void FolderSync::Start() {
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
    if (stopped_) return;
    watch();
    for (DataFile file : AllDataFiles) SyncFile(file);
    mergeConflictCopies();
    // Copies kept by saves since (an import adopted over a change made elsewhere).
    const auto kept = files_.takeKeptCopies();
    if (!kept.empty()) tell(KeptCopiesText(kept));
}

void FolderSync::Stop() {
    stopped_ = true;
    settle_.stop();
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
    if (held_.contains(file) || ImportPending(diary_, file) || !files_.ChangedOnDisk(stem)) return false;
    files_.KeepReadBytes(true);
    int status = 0;
    ItemList items = NewItemTable();
    SeasoningList seasonings{};
    LogList log;
    QString target;
    qint32 shift = DefaultPressureBarShift;
    switch (file) {
        case DataFile::Kiroku: status = files_.KirokuFileRead(items); break;
        case DataFile::Chomi: files_.ChomiFileRead(seasonings); break;
        case DataFile::Moku: files_.MokuFileRead(target); break;
        case DataFile::Enbun: status = files_.EnbunFileRead(log); break;
        case DataFile::Atu: files_.AtuFileRead(shift); break;
    }
    const QByteArray bytes = files_.TakeReadBytes();
    files_.KeepReadBytes(false);
    const auto kept = files_.takeKeptCopies();
    if (!kept.empty()) tell(KeptCopiesText(kept));
    // A file there but broken: its copy is kept, and this copy's data stays
    // as it is rather than be replaced by what little could be read.
    if (status != 0 && !kept.empty()) return true;

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
            continue;
        }
        copy.close();
        const QString renamed =
            MergedCopyName(name, now_().toString(QStringLiteral("yyyyMMdd-HHmmss")));
        if (!QFile::rename(path, dir.filePath(renamed))) {
            refused_.insert(name);
            continue;
        }
        const int added = diary_.AddMissingDays(days);
        tell(MergedCopyText(name, added, dir.filePath(renamed)));
    }
}

}  // namespace morv
