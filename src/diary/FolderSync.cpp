#include "diary/FolderSync.h"

#include "diary/DiaryBooks.h"

#include "diary/KeptCopyText.h"
#include "diary/SyncCopies.h"
#include "storage/DataFiles.h"

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

QString UnreadableCopyText(const QString& copy) {
    return QStringLiteral(
               "同期プログラムが残した「%1」を読み込めませんでした。このファイルはそのまま残しています。")
        .arg(copy);
}

// A copy another program left in the folder: a plain file of at most
// `ceiling` bytes, never a FIFO or a link elsewhere; with its time.
std::optional<std::pair<QByteArray, qint64>> ReadCopy(const QString& path, qint64 ceiling) {
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode) ||
        st.st_size > ceiling)
        return std::nullopt;
    QFile copy(path);
    if (!copy.open(QIODevice::ReadOnly)) return std::nullopt;
    const qint64 millis = qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
    return std::make_pair(copy.readAll(), millis);
}

std::optional<std::pair<quint64, quint64>> IdentityOf(const QString& folder) {
    struct stat st;
    if (::stat(QFile::encodeName(folder).constData(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
    return std::make_pair(static_cast<quint64>(st.st_dev), static_cast<quint64>(st.st_ino));
}

}  // namespace

FolderSync::FolderSync(Diary& diary, DataFiles& files, ChangeJournal& journal, Tell tell, QObject* parent)
    : QObject(parent), diary_(diary), files_(files), journal_(journal), tell_(std::move(tell)) {
    settle_.setSingleShot(true);
    settle_.setInterval(SettleMs);
    connect(&settle_, &QTimer::timeout, this, &FolderSync::CheckNow);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &FolderSync::changeSeen);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &FolderSync::changeSeen);
}

FolderSync::~FolderSync() { joinReadAway(); }

void FolderSync::joinReadAway() {
    if (away_.joinable()) away_.join();
}

void FolderSync::readAway(const DataKind* kind, const QString& copy) {
    awayRunning_ = true;
    awayResult_ = {};
    awayResult_.kind = kind;
    awayResult_.copy = copy;
    awayResult_.knownBefore = files_.KnownStamp(StemOf(DataFile::Enbun));
    away_ = std::thread([this, kind, copy, &ops = files_.ops(), folder = files_.folder()] {
        Away& r = awayResult_;
        if (!copy.isEmpty()) {
            if (const auto read = ReadCopy(copy, kind->ceiling)) {
                FileVersion version;
                if (kind->parse(read->first, version)) r.version = std::move(version);
                r.millis = read->second;
            }
        } else if (auto log = DataFiles::ReadUsualLogAway(ops, folder)) {
            FileVersion version;
            version.log = std::move(log->log);
            r.version = std::move(version);
            r.stamp = log->stamp;
            r.millis = log->stamp.mtimeNs / 1000000;
        } else {
            r.unusual = true;
        }
        QMetaObject::invokeMethod(this, &FolderSync::readAwayDone, Qt::QueuedConnection);
    });
}

void FolderSync::readAwayDone() {
    if (!awayRunning_) return;
    joinReadAway();
    awayRunning_ = false;
    Away r = std::move(awayResult_);
    awayResult_ = {};
    if (stopped_) return;
    if (!r.copy.isEmpty()) {
        const QString name = QFileInfo(r.copy).fileName();
        if (!r.version) {
            refused_.insert(name);
            tell(UnreadableCopyText(r.copy));
        } else {
            journal_.Absorb(r.kind->file, *r.version, r.millis, QStringLiteral("「%1」").arg(name));
            putAway(r.copy);
        }
    } else if (r.unusual || files_.KnownStamp(StemOf(DataFile::Enbun)) != r.knownBefore ||
               held_.contains(DataFile::Enbun) || diary_.LogImportPending()) {
        // Saved or read here meanwhile, or not in the usual shape: looked at
        // again, on this thread where an unusual file is handled.
        if (r.unusual) SyncFile(DataFile::Enbun, false);
    } else {
        files_.AcceptLogReread(*r.stamp);
        journal_.Absorb(DataFile::Enbun, *r.version, r.millis);
        if (journal_.Differs(DataFile::Enbun, *r.version))
            DiaryBooks(diary_).MarkUnsaved(DataFile::Enbun);
        else if (!DiaryBooks(diary_).HasUnjournaled())
            DiaryBooks(diary_).Saved(DataFile::Enbun);
    }
    if (const QString notice = journal_.TakeNotice(); !notice.isEmpty()) tell(notice);
    // Anything that arrived meanwhile.
    settle_.start();
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
        emit folderGone(now.has_value());
    }
    return false;
}

void FolderSync::AdoptFolder() {
    if (!gone_) return;
    folderId_ = IdentityOf(files_.folder());
    if (!folderId_) return;
    gone_ = false;
    tellWhatComesIn_ = true;
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
    // The folder above tells when the data folder itself is moved or removed;
    // the journal folder, when another machine's changes arrive.
    QStringList folders;
    for (const QString& path : {folder, QFileInfo(folder).absolutePath(), QDir::cleanPath(journal_.folder())})
        if (QFileInfo(path).isDir() && !watcher_.directories().contains(path)) folders << path;
    // A file replaced by a rename is a new file: its watch went with the old one.
    QStringList files;
    for (const DataKind& kind : DataKinds) {
        const QString path = files_.folder() + StemOf(kind.file) + QLatin1String(".txt");
        if (QFileInfo::exists(path) && !watcher_.files().contains(path)) files << path;
    }
    for (const QString& path : QDir(journal_.folder()).entryList({QStringLiteral("*.journal")}, QDir::Files))
        if (const QString full = journal_.folder() + path; !watcher_.files().contains(full)) files << full;
    if (!folders.isEmpty()) watcher_.addPaths(folders);
    if (!files.isEmpty()) watcher_.addPaths(files);
}

void FolderSync::CheckNow() {
    if (stopped_ || !FolderHere()) return;
    watch();
    journal_.ReadOthers();
    for (const DataKind& kind : DataKinds) SyncFile(kind.file, true);
    absorbLeftoverBackups();
    absorbCopies();
    const auto kept = files_.takeKeptCopies();
    if (!kept.empty()) tell(KeptCopiesText(kept));
    if (const QString notice = journal_.TakeNotice(); !notice.isEmpty()) tell(notice);
    tellWhatComesIn_ = false;
}

void FolderSync::Stop() {
    stopped_ = true;
    joinReadAway();
    awayRunning_ = false;
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

bool FolderSync::SyncFile(DataFile file, bool mayReadAway) {
    const QString stem = StemOf(file);
    if (held_.contains(file) || ImportPending(diary_, file) || !FolderHere() || !files_.ChangedOnDisk(stem))
        return false;
    if (file == DataFile::Enbun && awayRunning_ && mayReadAway) return false;  // being read already
    if (file == DataFile::Enbun && mayReadAway && !awayRunning_ &&
        QFileInfo(files_.folder() + stem + QLatin1String(".txt")).size() > ReadAwayAboveBytes) {
        readAway(&KindOf(file), {});
        return false;
    }
    FileVersion version;
    DataFiles::ReadUse use = DataFiles::ReadUse::Replace;
    KindOf(file).read(files_, version, &use);
    const auto kept = files_.takeKeptCopies();
    const bool keep = use != DataFiles::ReadUse::Replace;
    if (!kept.empty()) tell(KeptCopiesText(kept, keep ? KeptWhen::KeptInMemory : KeptWhen::AtStart));
    // Missing, away for a moment, broken or no regular file: nothing is taken
    // from it and nothing counts as deleted; the diary writes it again.
    if (keep) {
        DiaryBooks(diary_).MarkUnsaved(file);
        return true;
    }
    const QFileInfo info(files_.folder() + stem + QLatin1String(".txt"));
    journal_.Absorb(file, version, info.lastModified().toMSecsSinceEpoch(),
                    tellWhatComesIn_ ? QStringLiteral("「%1」").arg(info.fileName()) : QString());
    if (tellWhatComesIn_)
        if (const QString notice = journal_.TakeNotice(); !notice.isEmpty()) tell(notice);
    // The file is written again when it lacks or holds otherwise what the
    // diary holds; when it holds just that, there is nothing to save back.
    if (journal_.Differs(file, version))
        DiaryBooks(diary_).MarkUnsaved(file);
    else if (!DiaryBooks(diary_).HasUnjournaled())
        DiaryBooks(diary_).Saved(file);
    return true;
}

bool FolderSync::absorbCopy(const DataKind& kind, const QByteArray& bytes, qint64 millis,
                            const QString& name) {
    FileVersion version;
    if (!kind.parse(bytes, version)) return false;
    journal_.Absorb(kind.file, version, millis, QStringLiteral("「%1」").arg(name));
    return true;
}

void FolderSync::putAway(const QString& path) {
    // Only once what the copy added is durably in this machine's journal.
    if (!journal_.Flush()) return;
    const QString away = journal_.folder() + QLatin1String("absorbed/");
    QDir().mkpath(away);
    QString target = away + QFileInfo(path).fileName();
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = away + QStringLiteral("%1-%2").arg(n).arg(QFileInfo(path).fileName());
    if (!QFile::rename(path, target)) refused_.insert(QFileInfo(path).fileName());
}

void FolderSync::absorbCopies() {
    const QDir dir(files_.folder().isEmpty() ? QStringLiteral(".") : files_.folder());
    for (const DataKind& kind : DataKinds) {
        if (ImportPending(diary_, kind.file)) continue;
        const QString stem = StemOf(kind.file);
        for (const QString& name :
             dir.entryList({stem + QLatin1Char('*')}, QDir::Files | QDir::Hidden, QDir::Name)) {
            if (!IsSyncConflictCopy(name, stem) || refused_.contains(name)) continue;
            const QString path = dir.filePath(name);
            if (awayRunning_ && awayResult_.copy == path) continue;
            if (QFileInfo(path).size() > ReadAwayAboveBytes) {
                if (!awayRunning_) readAway(&kind, path);
                continue;
            }
            const auto copy = ReadCopy(path, kind.ceiling);
            if (!copy || !absorbCopy(kind, copy->first, copy->second, name)) {
                refused_.insert(name);
                tell(UnreadableCopyText(path));
                continue;
            }
            putAway(path);
        }
    }
}

void FolderSync::absorbLeftoverBackups() {
    for (const DataFiles::LeftoverBackup& backup : files_.takeLeftoverBackups()) {
        const DataKind* kind = KindOfName(backup.stem + QLatin1String(".bak"));
        if (!kind || ImportPending(diary_, kind->file) || backup.copy.isEmpty()) continue;
        const QFileInfo info(backup.copy);
        if (absorbCopy(*kind, backup.bytes, info.lastModified().toMSecsSinceEpoch(),
                       backup.stem + QLatin1String(".bak")))
            putAway(backup.copy);
    }
}

}  // namespace morv
