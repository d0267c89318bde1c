#pragma once
// Keeps the diary in step with a data folder that another program changes
// while this copy runs: a sync program bringing other machines' journals and
// files. The folder, its journal folder and the data files are watched; after
// a change the journals are folded in (ChangeJournal), and each data file
// that is no longer the version this copy last read or wrote is read again:
// what no journal explains in it is taken in, and a file that lacks or holds
// otherwise what the diary holds is written again from the diary. A sync
// program's copy of a data file, and a backup from elsewhere, are taken in
// the same way and, once what they added is in this machine's journal,
// moved into the journal folder's "absorbed" folder. A file under an import
// preview waits until the import ends.

#include "diary/ChangeJournal.h"
#include "diary/Diary.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QSet>
#include <QTimer>
#include <functional>
#include <optional>
#include <thread>
#include <utility>

namespace morv {

class DataFiles;

class FolderSync : public QObject {
    Q_OBJECT
public:
    // A copy or a log larger than this is read and parsed on a thread of its
    // own, so that the window keeps answering; its records go in when it is done.
    static constexpr qint64 ReadAwayAboveBytes = 1024 * 1024;
    // A burst of events (a sync program writes, renames, deletes) is taken as one.
    static constexpr int SettleMs = 300;
    // A change is shown at most this long after it arrives, however busy the folder.
    static constexpr int MaxWaitMs = 2000;

    using Tell = std::function<void(const QString&)>;

    // tell: a message for the user (values replaced elsewhere, records taken
    // in, a copy kept aside).
    FolderSync(Diary& diary, DataFiles& files, ChangeJournal& journal, Tell tell, QObject* parent);
    ~FolderSync() override;

    // Whether the data folder is still the one read at the start: not
    // removed, renamed or replaced. The first time it is not, the folder is
    // taken as gone (see folderGone), and nothing in it is read again until
    // AdoptFolder.
    bool FolderHere();
    // The folder was written anew (the save after it went): it is watched
    // and read from again.
    void AdoptFolder();
    bool FolderGone() const { return gone_; }

    // After the start-up reads: watching begins, and the folder is looked at once.
    void Start();
    // Looks at every journal and file now (what a change in the folder leads to).
    void CheckNow();
    // The window is closing: nothing more is looked at. The watches go at
    // once, so that the kernel's slow teardown of them passes during the
    // close's save instead of after it.
    void Stop();
    // Reads `file` again when it changed on disk, taking in what no journal
    // explains; true when it was read here. `mayReadAway`: a large log is
    // read on a thread of its own instead, and taken in when it is done.
    bool SyncFile(DataFile file, bool mayReadAway = false);
    // While this program itself is writing `file` elsewhere than on the
    // window's thread, what happens to it on disk is its own doing: it is
    // not looked at. When the hold ends the folder is looked at again.
    void Hold(DataFile file, bool held);

signals:
    // The data folder went away under the program (`replaced`: another
    // folder stands in its place): what it holds is in memory alone, and a
    // missing file there is no deletion.
    void folderGone(bool replaced);

private:
    void watch();
    void changeSeen();
    void absorbCopies();
    void absorbLeftoverBackups();
    // A copy's records in; false when it cannot be read as its kind.
    bool absorbCopy(const DataKind& kind, const QByteArray& bytes, qint64 millis, const QString& name);
    // Moved out of the way once its records are in this machine's journal.
    void putAway(const QString& path);
    // A large copy (`copy`) or the log (empty) read and parsed away.
    void readAway(const DataKind* kind, const QString& copy);
    void readAwayDone();
    void joinReadAway();
    void tell(const QString& text);

    Diary& diary_;
    DataFiles& files_;
    ChangeJournal& journal_;
    Tell tell_;
    QFileSystemWatcher watcher_;
    QTimer settle_;
    QSet<QString> refused_;  // copies that could not be read
    QSet<DataFile> held_;
    bool stopped_ = false;
    // The folder's identity as the program found it: device and inode.
    std::optional<std::pair<quint64, quint64>> folderId_;
    bool gone_ = false;
    // The folder adopted stood in for the one read: what its files add is told.
    bool tellWhatComesIn_ = false;
    QElapsedTimer pendingSince_;
    // What a read away brings back, handed over by the join.
    struct Away {
        const DataKind* kind = nullptr;
        QString copy;  // empty: the log itself
        std::optional<FileVersion> version;
        qint64 millis = 0;
        std::optional<FileStamp> stamp;  // the log's version read
        std::optional<FileStamp> knownBefore;
        bool unusual = false;  // the log is to be read here, as an unusual file
    };
    std::thread away_;
    Away awayResult_;
    bool awayRunning_ = false;
};

}  // namespace morv
