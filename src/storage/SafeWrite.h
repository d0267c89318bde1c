#pragma once
// The backup protocol of the data files, made durable and atomic.
//
// What a reader of the folder may rely on: while a write of X.txt is in
// progress, X.bak holds the last good version, and a leftover X.bak means a
// write was interrupted and is put back over X.txt by restoreInterrupted.
// X.txt itself is only ever replaced by rename, so it is never half-written.
//
// How it is done: X.txt is linked as X.bak.tmp (or, where the file system
// has no hard links, copied there and fsynced) and renamed to X.bak (so X.bak
// is never partial); the new content is written and fsynced as an unnamed
// file (O_TMPFILE) that is linked as X.txt.tmp only when complete (where the
// file system has no unnamed files, it is written as X.txt.tmp) and renamed
// over X.txt; the folder is fsynced; only then is X.bak renamed back
// to X.bak.tmp, the folder fsynced again and X.bak.tmp deleted. A write of
// the bytes X.txt already holds leaves it alone. Every short write, write error, fsync, close,
// link, rename or unlink error fails the write, and a failed write puts the previous
// file (or its absence) back and leaves no temporary file behind.
//
// Right before the rename that installs the new file, a small marker,
// X.bak.info, says what that save installs (size, modification time, inode
// and a hash of the bytes) and on which machine and boot it ran; it goes with
// the backup. A leftover X.bak is our own interrupted save's only when its
// marker names this machine and boot, and X.txt is still the file the save
// installed: a sync program may carry another machine's X.bak here, or bring
// a newer X.txt after our save was cut short, and neither may be undone.
//
// X.txt may be a symbolic link (to a synced folder, say): when it leads to a
// regular file (or to nothing yet), the link is kept and the file it points to
// is written, with its backup and temporary files beside it. A link to
// anything else (a folder, a FIFO, a device, a name that cannot be looked at)
// is not followed: it reads as no regular file, and only the link itself is
// ever renamed or replaced. The new file keeps the previous one's permission bits. A file without
// its owner's write permission is not replaced: the write fails. Only a regular
// file is ever read or put back, and opening never blocks (a FIFO in the
// folder is refused, not waited on).

#include "storage/FileOps.h"

#include <fcntl.h>
#include <QByteArray>
#include <QString>

namespace morv {

// Which version of a file is at its name: enough to tell that another program
// (a sync program bringing another machine's save) replaced or changed it.
struct FileStamp {
    bool exists = false;
    qint64 size = 0;
    qint64 mtimeNs = 0;
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileStamp&) const = default;
};

// The version at `path` (links followed): one stat.
FileStamp StampAt(FileOps& ops, const QByteArray& path);

// This machine (/etc/machine-id, else the host name) and this boot
// (/proc/sys/kernel/random/boot_id), as a backup's marker records them.
QByteArray ThisMachineId();
QByteArray ThisBootId();

class SafeFile {
public:
    // folder ends in "/"; stem is "Kiroku", "Enbun", ...
    SafeFile(FileOps& ops, const QString& folder, const QString& stem);

    // TooLarge: a regular file over the ceiling, left unread.
    enum class ReadResult { Read, Missing, NotRegular, Failed, TooLarge };

    // The most bytes a read takes in; a file over it reads as TooLarge
    // without a byte of it being read. No ceiling unless set.
    void setCeiling(qint64 bytes) { ceiling_ = bytes; }

    QString txtPath() const;
    QString bakPath() const;

    // true when `bytes` is now X.txt; false when the write failed and the
    // previous X.txt (or its absence) is back.
    bool write(const QByteArray& bytes);
    // The same, only over the version `expected`: when X.txt is no longer
    // that one, nothing is written and it is left exactly as it is. The last
    // look comes right before the rename that installs the new file.
    enum class Written { Done, Failed, ChangedElsewhere };
    Written write(const QByteArray& bytes, const FileStamp& expected);

    // X.txt's version now: one stat. A name that cannot be looked at has no
    // version anything was read from.
    FileStamp current();
    // The version last read, compared with or written at X.txt through this
    // object.
    const FileStamp& stamp() const { return stamp_; }

    // A leftover X.bak that is a regular file replaces X.txt (unless
    // `putBackupBack` is false); stray temporary files are removed. Errors
    // are ignored.
    void restoreInterrupted(bool putBackupBack = true);

    // Whether the leftover X.bak is what our own save left on this machine in
    // this boot, and X.txt, whose bytes are `current`, is exactly the file
    // that save installed: only then may the backup be put back over it.
    bool installedByOurInterruptedSave(const QByteArray& current);
    // Whether the leftover X.bak's marker names this machine and boot.
    bool backupIsOurs();
    QString markerPath() const;

    // The whole of X.txt, or false when it cannot be read.
    bool readAll(QByteArray& bytes);
    ReadResult read(QByteArray& bytes) { return readFile(txt_, bytes, false); }
    // A link under the backup's name is not read (nor ever put back).
    ReadResult readBackup(QByteArray& bytes) { return readFile(bak_, bytes, false, O_NOFOLLOW); }

    bool exists();
    bool backupExists();

    // Removes X.txt and any X.bak, durably: a backup left behind would come
    // back as X.txt at the next start. true when neither is there any more.
    bool remove();

    // Renames X.txt (or X.bak) to `path`, durably, unless `path` is taken
    // (then false with errno EEXIST). For a file that cannot even be read:
    // renaming keeps its bytes where copying cannot. It is always the name in
    // the folder that moves: a link goes aside as a link, and what it points
    // to stays where it is.
    bool moveAside(const QString& path);
    bool moveBackupAside(const QString& path);

private:
    enum class Compared { Same, Differs, Missing, Failed };
    Compared compare(const QByteArray& bytes);
    bool backUp(mode_t mode);
    bool settleBackup();
    // A regular file opened for reading (its permission bits and size
    // noted), or -1 and why not.
    int openRegular(const QByteArray& path, int flags, ReadResult& failed, qsizetype& size);
    ReadResult readFile(const QByteArray& path, QByteArray& bytes, bool checkClose, int flags = 0);
    bool moveAside(const QByteArray& from, const QString& path);
    // The new content under X.txt.tmp, complete and fsynced.
    bool writeTemporary(const QByteArray& bytes, mode_t mode);
    bool writeDurably(const QByteArray& path, const QByteArray& bytes, mode_t mode);
    void syncFolder();
    bool syncFolderChecked();
    void writeMarker(const FileStamp& installed, const QByteArray& bytes);
    void dropMarker();

    Written writeOver(const QByteArray& bytes, const FileStamp* expected);

    FileOps& ops_;
    QByteArray name_;  // X.txt as named in the folder, a link or not
    QByteArray folder_, txt_, bak_, txtTmp_, bakTmp_, marker_;
    qint64 ceiling_ = qint64(1) << 62;
    mode_t readMode_ = 0;  // permission bits of the file last read
    FileStamp stamp_;
};

// Creates `path`, which must not exist yet, holding `bytes`, durably (file and
// folder fsynced, mode 0600 unless told otherwise; the umask applies). Returns
// false on any failure, with errno EEXIST when the name was taken; a failed
// attempt leaves no file behind. Where the file system allows it the file gets
// its name only once it is complete.
bool CreateFileDurably(FileOps& ops, const QString& path, const QByteArray& bytes, mode_t mode = 0600);

// Makes `path` hold `bytes`, whether or not it exists: a temporary file beside
// it is written, fsynced and renamed over it, and the folder is fsynced. On
// failure `path` is as it was and no temporary file is left. Where the file
// system has unnamed files the temporary file has no name while it is written,
// so a process killed meanwhile leaves nothing behind; elsewhere the named
// temporary file ("PATH.N.tmp") a killed call left is removed by the next
// call for the same path. The result is the
// user's own document: it keeps the mode of the file it replaces (a new one gets
// what the umask gives), and a link is written through to the file it names.
bool ReplaceFileDurably(FileOps& ops, const QString& path, const QByteArray& bytes);

}  // namespace morv
