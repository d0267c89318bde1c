#pragma once
// Keeps the diary in step with a data folder that another program changes
// while this copy runs: a sync program bringing another machine's saves.
//
// The folder and the data files are watched; after a change, and before any
// save that finds its file replaced, each file that is no longer the version
// this copy last read or wrote is read again. With nothing changed here it
// simply replaces what is shown; otherwise the Diary merges it record by
// record, and where both sides changed a record differently the disk's file is
// kept as "X.conflict-YYYYMMDD-HHMMSS.txt" and a message names it. A file under
// an import preview waits until the import ends. A sync program's conflict
// copy of Enbun.txt gives the log the days it lacks and is renamed, so that it
// is merged once. Nothing else in the folder is read or touched.

#include "diary/ConflictCopies.h"
#include "diary/Diary.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QSet>
#include <QTimer>
#include <functional>
#include <optional>
#include <utility>

namespace morv {

class DataFiles;
class LogReread;

class FolderSync : public QObject {
    Q_OBJECT
public:
    // A burst of events (a sync program writes, renames, deletes) is taken as one.
    static constexpr int SettleMs = 300;

    using Tell = std::function<void(const QString&)>;
    using Now = std::function<QDateTime()>;
    // A change is shown at most this long after it arrives, however busy the folder.
    static constexpr int MaxWaitMs = 2000;

    // tell: a message for the user (a merge, a conflict, a copy kept aside).
    FolderSync(Diary& diary, DataFiles& files, Tell tell, Now now, QObject* parent);

    // Whether the data folder is still the one read at the start: not
    // removed, renamed or replaced. The first time it is not, the folder is
    // taken as gone (see folderGone), and nothing in it is read again until
    // AdoptFolder.
    bool FolderHere();
    // The folder was written anew (the save after it went): it is watched
    // and read from again.
    void AdoptFolder();
    bool FolderGone() const { return gone_; }
    // The small file is now what the diary holds (read or written): a base
    // for merging the sync program's conflict copies of it.
    void Remember(DataFile file);

signals:
    // The data folder went away under the program: what it holds is in
    // memory alone, and a missing file there is no deletion.
    void folderGone();

public:
    // After the start-up reads: watching begins, and the folder is looked at once.
    void Start();
    // Looks at every file now (what a change in the folder leads to).
    void CheckNow();
    // The window is closing: nothing more is looked at. The watches go at
    // once, so that the kernel's slow teardown of them (a grace period of up
    // to some 20 ms when their descriptor closes) passes during the close's
    // save instead of after it. The save itself still checks each file.
    void Stop();
    // Reads `file` again when it changed on disk, merging when it changed
    // here too; true when it was read.
    bool SyncFile(DataFile file);
    // While this program itself is writing `file` elsewhere than on the
    // window's thread, what happens to it on disk is its own doing: it is
    // not looked at. When the hold ends the folder is looked at again.
    void Hold(DataFile file, bool held);

private:
    void watch();
    void changeSeen();
    void mergeConflictCopies();
    void mergeLeftoverBackups();
    // The sync program's conflict copies of Kiroku, Chomi and Moku.
    void mergeSmallConflictCopies();
    // A conflict copy the other machine's merge kept holds values of this
    // one that lost there: the user here is told which, and where they are.
    void tellConflictsFromElsewhere();
    QStringList conflictCopies() const;
    // One copy's rows into the diary; false when it cannot be read.
    bool mergeSmallCopy(DataFile file, const QString& path, const QByteArray& bytes);
    void tell(const QString& text);
    // The log replaced elsewhere is read and merged away from this thread
    // (LogReread); false when it is not to be read now at all.
    bool rereadLogAway();
    void logRereadTaken(bool conflict, const QByteArray& theirs);
    LogReread* reread_ = nullptr;
    bool logAway_ = false;

    Diary& diary_;
    DataFiles& files_;
    Tell tell_;
    Now now_;
    QFileSystemWatcher watcher_;
    QTimer settle_;
    QSet<QString> refused_;         // conflict copies that could not be read as a log
    QSet<QString> knownConflicts_;  // X.conflict-... files there at the start or made here
    QSet<DataFile> held_;
    bool stopped_ = false;
    // The folder's identity as the program found it: device and inode.
    std::optional<std::pair<quint64, quint64>> folderId_;
    bool gone_ = false;
    QElapsedTimer pendingSince_;
    SeenVersions<std::vector<ItemRecord>> seenItems_;
    SeenVersions<std::vector<SeasoningRecord>> seenSeasonings_;
    SeenVersions<std::vector<QString>> seenTargets_;
};

// The stem of a data file's name: "Kiroku", "Enbun", ...
QString StemOf(DataFile file);

}  // namespace morv
