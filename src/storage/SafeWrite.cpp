#include "storage/SafeWrite.h"

#include <QFile>
#include <QFileInfo>
#include <QHashFunctions>
#include <QSysInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>

namespace morv {
namespace {

constexpr int NewFileFlags = O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW;
constexpr mode_t PrivateMode = 0600;

bool WriteAll(FileOps& ops, int fd, const QByteArray& bytes) {
    const char* p = bytes.constData();
    size_t left = size_t(bytes.size());
    while (left > 0) {
        const ssize_t n = ops.write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        // A write that makes no progress would loop for ever; a full device
        // can answer that way instead of with ENOSPC.
        if (n == 0 || size_t(n) > left) {
            errno = EIO;
            return false;
        }
        p += n;
        left -= size_t(n);
    }
    return true;
}

// fsync of a folder makes the renames and unlinks in it durable. A file
// system that cannot fsync folders says EINVAL; it has nothing to flush.
bool SyncFolder(FileOps& ops, const QByteArray& folder) {
    const int fd = ops.open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool synced = ops.fsync(fd) == 0 || errno == EINVAL;
    const bool closed = ops.close(fd) == 0;
    return synced && closed;
}

// Writes, fsyncs and closes an open file; the descriptor is closed in every
// case. A close error counts: some file systems only report a failed write
// there.
bool FinishFile(FileOps& ops, int fd, const QByteArray& bytes) {
    if (!WriteAll(ops, fd, bytes) || ops.fsync(fd) != 0) {
        const int saved = errno;
        ops.close(fd);
        errno = saved;
        return false;
    }
    return ops.close(fd) == 0;
}

// Closes a descriptor whose work already failed, keeping the first error.
void CloseAfterFailure(FileOps& ops, int fd) {
    const int saved = errno;
    ops.close(fd);
    errno = saved;
}

// A file system (or a kernel) without unnamed files answers O_TMPFILE so.
bool NoUnnamedFiles(int error) { return error == EOPNOTSUPP || error == EISDIR || error == EINVAL; }

// For WriteUnnamed: the file keeps the mode it was created with (the umask applied).
constexpr mode_t CreatedMode = mode_t(-1);

// A complete, fsynced file in `folder` that has no name yet, so that a process
// killed before it is named leaves nothing behind; its descriptor, or -1.
// `unsupported` tells the caller to fall back on a named temporary file.
int WriteUnnamed(FileOps& ops, const QByteArray& folder, const QByteArray& bytes, mode_t mode,
                 mode_t exactMode, bool& unsupported) {
    // The file is named through /proc; without it there is no way to.
    static const bool namable = ::access("/proc/self/fd", X_OK) == 0;
    unsupported = !namable;
    if (!namable) return -1;
    const int fd = ops.open(folder, O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (fd < 0) {
        unsupported = NoUnnamedFiles(errno);
        return -1;
    }
    if (exactMode != CreatedMode) ::fchmod(fd, exactMode);
    if (!WriteAll(ops, fd, bytes) || ops.fsync(fd) != 0) {
        CloseAfterFailure(ops, fd);
        return -1;
    }
    return fd;
}

// Names and closes the unnamed file `fd`; it is closed in every case and
// keeps no name on failure. A name that is taken fails with EEXIST.
bool NameAndClose(FileOps& ops, int fd, const QByteArray& name) {
    if (ops.linkOpenFile(fd, name) != 0) {
        CloseAfterFailure(ops, fd);
        return false;
    }
    if (ops.close(fd) != 0) {
        const int saved = errno;
        ops.unlink(name);
        errno = saved == EEXIST ? EIO : saved;
        return false;
    }
    return true;
}

ssize_t ReadSome(FileOps& ops, int fd, void* buffer, size_t size) {
    for (;;) {
        const ssize_t n = ops.read(fd, buffer, size);
        if (n >= 0 || errno != EINTR) return n;
    }
}

QByteArray FolderOf(const QString& folder) {
    return folder.isEmpty() ? QByteArray(".") : QFile::encodeName(folder);
}

// lstat: a backup this program made is never a link.
bool IsRegularFile(const QByteArray& path) {
    struct stat st;
    return ::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode);
}

// Both names are one file: a backup made by linking, left by a save that
// stopped before the new file was in place. Renaming one name over the other
// would do nothing.
bool SameFile(const QByteArray& a, const QByteArray& b) {
    struct stat sa, sb;
    return ::lstat(a.constData(), &sa) == 0 && ::lstat(b.constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// The file a data file's name stands for: itself, or where its symbolic link
// points when that is a regular file or nothing yet (the write then creates
// it). A link to anything else stands for itself, so that nothing outside the
// folder is ever read, renamed or written through it.
QString RealPath(const QString& path) {
    const QFileInfo info(path);
    if (!info.isSymLink()) return path;
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (::stat(name.constData(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) return path;
        const QString target = info.canonicalFilePath();
        return target.isEmpty() ? path : target;
    }
    if (errno != ENOENT) return path;
    const QString target = info.symLinkTarget();
    return target.isEmpty() ? path : target;
}

QString BackupPathOf(const QString& txt) {
    if (txt.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive))
        return txt.chopped(4) + QLatin1String(".bak");
    return txt + QLatin1String(".bak");
}

FileStamp StampOf(const struct stat& st) {
    return {true, qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            quint64(st.st_dev), quint64(st.st_ino)};
}

QByteArray FirstLineOf(const char* path) {
    QFile file(QString::fromLatin1(path));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readLine(256).trimmed();
}

// Fixed, so that the hash recorded by one run is the one computed by the next.
constexpr size_t MarkerSeed = 0x4d6f7276;

QByteArray HashOf(const QByteArray& bytes) {
    return QByteArray::number(quint64(qHashBits(bytes.constData(), size_t(bytes.size()), MarkerSeed)), 16);
}

QByteArray MarkerText(const FileStamp& installed, const QByteArray& bytes) {
    return "morvaline-backup 1\nmachine " + ThisMachineId() + "\nboot " + ThisBootId() + "\nsize " +
           QByteArray::number(installed.size) + "\nmtime " + QByteArray::number(installed.mtimeNs) +
           "\ndevice " + QByteArray::number(installed.device) + "\ninode " +
           QByteArray::number(installed.inode) + "\nhash " + HashOf(bytes) + "\n";
}

// The marker's fields, or nothing when there is no marker of ours to read.
std::map<QByteArray, QByteArray> ReadMarker(const QByteArray& path) {
    std::map<QByteArray, QByteArray> fields;
    struct stat st;
    if (::lstat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > 4096) return fields;
    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::ReadOnly)) return fields;
    const QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.value(0) != "morvaline-backup 1") return fields;
    for (const QByteArray& line : lines) {
        const qsizetype space = line.indexOf(' ');
        if (space > 0) fields[line.left(space)] = line.mid(space + 1);
    }
    return fields;
}

bool MadeHere(const std::map<QByteArray, QByteArray>& marker) {
    const auto machine = marker.find("machine");
    const auto boot = marker.find("boot");
    return machine != marker.end() && boot != marker.end() && !ThisMachineId().isEmpty() &&
           !ThisBootId().isEmpty() && machine->second == ThisMachineId() && boot->second == ThisBootId();
}

}  // namespace

QByteArray ThisMachineId() {
    static const QByteArray id = [] {
        for (const char* path : {"/etc/machine-id", "/var/lib/dbus/machine-id"})
            if (QByteArray line = FirstLineOf(path); !line.isEmpty()) return line;
        return QSysInfo::machineHostName().toUtf8();
    }();
    return id;
}

QByteArray ThisBootId() {
    static const QByteArray id = FirstLineOf("/proc/sys/kernel/random/boot_id");
    return id;
}

SafeFile::SafeFile(FileOps& ops, const QString& folder, const QString& stem) : ops_(ops) {
    const QString named = folder + stem + QLatin1String(".txt");
    name_ = QFile::encodeName(named);
    const QString real = RealPath(named);
    if (real == named) {
        folder_ = FolderOf(folder);
        txt_ = QFile::encodeName(named);
        bak_ = QFile::encodeName(folder + stem + QLatin1String(".bak"));
    } else {
        folder_ = QFile::encodeName(QFileInfo(real).absolutePath());
        txt_ = QFile::encodeName(real);
        bak_ = QFile::encodeName(BackupPathOf(real));
    }
    txtTmp_ = txt_ + ".tmp";
    bakTmp_ = bak_ + ".tmp";
    marker_ = bak_ + ".info";
}

QString SafeFile::markerPath() const { return QFile::decodeName(marker_); }

void SafeFile::writeMarker(const FileStamp& installed, const QByteArray& bytes) {
    // Best effort, outside the steps that must succeed: without a marker the
    // backup is simply never put back, and the new file, complete by then,
    // stays.
    QFile file(QFile::decodeName(marker_));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(MarkerText(installed, bytes));
}

void SafeFile::dropMarker() { ::unlink(marker_.constData()); }

bool SafeFile::backupIsOurs() { return MadeHere(ReadMarker(marker_)); }

bool SafeFile::installedByOurInterruptedSave(const QByteArray& current) {
    const auto marker = ReadMarker(marker_);
    if (!MadeHere(marker)) return false;
    const FileStamp now = this->current();
    const auto field = [&](const char* name) { return marker.count(name) ? marker.at(name) : QByteArray(); };
    return now.exists && field("size") == QByteArray::number(now.size) &&
           field("mtime") == QByteArray::number(now.mtimeNs) &&
           field("device") == QByteArray::number(now.device) &&
           field("inode") == QByteArray::number(now.inode) && field("hash") == HashOf(current);
}

QString SafeFile::txtPath() const { return QFile::decodeName(txt_); }
QString SafeFile::bakPath() const { return QFile::decodeName(bak_); }

bool SafeFile::exists() { return ops_.exists(txt_); }
bool SafeFile::backupExists() { return ops_.exists(bak_); }

int SafeFile::openRegular(const QByteArray& path, int flags, ReadResult& failed, qsizetype& size) {
    // A device is not even opened: opening some has effects of its own.
    struct stat named;
    const int looked = (flags & O_NOFOLLOW) ? ::lstat(path.constData(), &named) : ops_.stat(path, &named);
    if (looked == 0 && !S_ISREG(named.st_mode) && !S_ISLNK(named.st_mode)) {
        failed = ReadResult::NotRegular;
        return -1;
    }
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    const int fd = ops_.open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | flags, 0);
    if (fd < 0) {
        failed = errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
        if (path == txt_ && failed == ReadResult::Missing) stamp_ = {};
        return -1;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ops_.close(fd);
        failed = ReadResult::NotRegular;
        return -1;
    }
    readMode_ = st.st_mode & 07777;
    size = qsizetype(st.st_size);
    // From the open file itself: exactly the version about to be read.
    if (path == txt_) stamp_ = StampOf(st);
    return fd;
}

SafeFile::ReadResult SafeFile::readFile(const QByteArray& path, QByteArray& bytes, bool checkClose,
                                        int flags) {
    bytes.clear();
    ReadResult failed;
    qsizetype size = 0;
    const int fd = openRegular(path, flags, failed, size);
    if (fd < 0) return failed;
    const auto tooLarge = [&] {
        ops_.close(fd);
        bytes = {};
        return ReadResult::TooLarge;
    };
    if (size > ceiling_) return tooLarge();
    // Straight into one buffer of the file's size; one that grows meanwhile
    // is read to its end all the same, up to the ceiling.
    bytes.resize(size);
    qsizetype got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got > ceiling_) return tooLarge();
            bytes.resize(qsizetype(std::min<qint64>(got + 65536, ceiling_ + 1)));
        }
        const ssize_t n = ReadSome(ops_, fd, bytes.data() + got, size_t(bytes.size() - got));
        if (n < 0) {
            ops_.close(fd);
            bytes.clear();
            return ReadResult::Failed;
        }
        if (n == 0) break;
        got += n;
    }
    bytes.resize(got);
    if (ops_.close(fd) != 0 && checkClose) {
        bytes.clear();
        return ReadResult::Failed;
    }
    return ReadResult::Read;
}

bool SafeFile::readAll(QByteArray& bytes) { return readFile(txt_, bytes, false) == ReadResult::Read; }

bool SafeFile::writeTemporary(const QByteArray& bytes, mode_t mode) {
    bool unsupported = false;
    const int fd = WriteUnnamed(ops_, folder_, bytes, PrivateMode, mode, unsupported);
    if (fd < 0) return unsupported && writeDurably(txtTmp_, bytes, mode);
    // The temporary name is ours: one in the way now is replaced, as opening
    // it by name would. The name exists only from here to the rename, two
    // calls later; one left by a save killed in between is swept at the next
    // start.
    int linked = ops_.linkOpenFile(fd, txtTmp_);
    if (linked != 0 && errno == EEXIST && ops_.unlink(txtTmp_) == 0) linked = ops_.linkOpenFile(fd, txtTmp_);
    if (linked != 0) {
        CloseAfterFailure(ops_, fd);
        return false;
    }
    return ops_.close(fd) == 0;
}

bool SafeFile::writeDurably(const QByteArray& path, const QByteArray& bytes, mode_t mode) {
    const int fd = ops_.open(path, NewFileFlags | O_TRUNC, PrivateMode);
    if (fd < 0) return false;
    // The user's own permission bits on the file stay as they were (the
    // umask would narrow them if they were given to open).
    if (mode != PrivateMode) ::fchmod(fd, mode);
    return FinishFile(ops_, fd, bytes);
}

void SafeFile::syncFolder() { SyncFolder(ops_, folder_); }
bool SafeFile::syncFolderChecked() { return SyncFolder(ops_, folder_); }

SafeFile::Compared SafeFile::compare(const QByteArray& bytes) {
    ReadResult failed;
    qsizetype size = 0;
    const int fd = openRegular(txt_, 0, failed, size);
    if (fd < 0) return failed == ReadResult::Missing ? Compared::Missing : Compared::Failed;
    // Read only as far as the file agrees with the new bytes.
    char buffer[65536];
    qsizetype at = 0;
    bool same = true;
    for (;;) {
        const ssize_t n = ReadSome(ops_, fd, buffer, sizeof buffer);
        if (n < 0) {
            ops_.close(fd);
            return Compared::Failed;
        }
        if (n == 0) break;
        if (n > bytes.size() - at || std::memcmp(buffer, bytes.constData() + at, size_t(n)) != 0) {
            same = false;
            break;
        }
        at += n;
    }
    if (ops_.close(fd) != 0) return Compared::Failed;
    return same && at == bytes.size() ? Compared::Same : Compared::Differs;
}

bool SafeFile::backUp(mode_t mode) {
    // A second name for the current file is a complete backup at once,
    // without copying its bytes; where links are refused, it is copied.
    if (ops_.link(txt_, bakTmp_) != 0) {
        QByteArray previous;
        if (readFile(txt_, previous, true) != ReadResult::Read || !writeDurably(bakTmp_, previous, mode))
            return false;
    }
    return ops_.rename(bakTmp_, bak_) == 0;
}

FileStamp StampAt(FileOps& ops, const QByteArray& path) {
    struct stat st;
    if (ops.stat(path, &st) == 0) return StampOf(st);
    if (errno == ENOENT) return {};
    // Never equal to a version that was read.
    return {true, -1, 0, 0, 0};
}

FileStamp SafeFile::current() { return StampAt(ops_, txt_); }

bool SafeFile::write(const QByteArray& bytes) { return writeOver(bytes, nullptr) == Written::Done; }

SafeFile::Written SafeFile::write(const QByteArray& bytes, const FileStamp& expected) {
    return writeOver(bytes, &expected);
}

SafeFile::Written SafeFile::writeOver(const QByteArray& bytes, const FileStamp* expected) {
    // Someone else's version is neither read nor backed up nor replaced.
    if (expected && current() != *expected) return Written::ChangedElsewhere;

    // A leftover backup is the last good version; settle it first so that
    // "the previous file" below is what any reader would have been given, and
    // so that our own backup never overwrites it. Anything but a regular file
    // under the backup's name is no backup; our own replaces it below.
    FileStamp settled;
    if (IsRegularFile(bak_)) {
        // Another machine's backup, or one nobody can vouch for, is not ours
        // to put back; the caller sets it aside first.
        if (!SameFile(bak_, txt_) && !backupIsOurs()) {
            errno = EEXIST;
            return Written::Failed;
        }
        if (!settleBackup()) {
            restoreInterrupted();
            return Written::Failed;
        }
        dropMarker();
        // Our own backup put back is the version this save replaces now.
        if (expected) expected = &(settled = current());
    }

    bool hadPrevious = false;
    mode_t mode = PrivateMode;
    bool backedUp = false;   // X.bak is ours and holds the previous file
    bool installed = false;  // X.txt holds `bytes`

    auto abandon = [&] {
        ops_.unlink(txtTmp_);
        ops_.unlink(bakTmp_);
        if (backedUp)
            settleBackup();
        else if (installed && !hadPrevious)
            ops_.unlink(txt_);
        syncFolder();
        if (!backedUp || !IsRegularFile(bak_)) dropMarker();
        return Written::Failed;
    };

    switch (compare(bytes)) {
        case Compared::Same:
            return Written::Done;  // nothing to change: the file is left as it is
        case Compared::Differs:
            // A file its owner made read-only is meant to stay as it is; the
            // rename would replace it all the same.
            if (!(readMode_ & S_IWUSR)) {
                errno = EACCES;
                return Written::Failed;
            }
            hadPrevious = true;
            mode = readMode_;
            break;
        case Compared::Missing:
            break;
        case Compared::Failed:
            return abandon();
    }

    if (hadPrevious) {
        if (!backUp(mode)) return abandon();
        backedUp = true;
        if (!syncFolderChecked()) return abandon();
    }

    if (!writeTemporary(bytes, mode)) return abandon();
    struct stat written;
    if (ops_.stat(txtTmp_, &written) != 0) return abandon();
    if (backedUp) writeMarker(StampOf(written), bytes);
    // The last look, with everything else done: only the rename follows, so
    // nothing another program installs before it goes unseen for longer than
    // the step between two system calls.
    if (expected && current() != *expected) {
        ops_.unlink(txtTmp_);
        // Our backup is a second name of the version we meant to replace; the
        // new one at X.txt stays.
        if (backedUp) ops_.unlink(bak_);
        dropMarker();
        syncFolder();
        return Written::ChangedElsewhere;
    }
    if (ops_.rename(txtTmp_, txt_) != 0) return abandon();
    installed = true;
    stamp_ = StampOf(written);
    if (!syncFolderChecked()) return abandon();

    if (backedUp) {
        // The backup leaves its name first and its file only once that is on
        // disk: until then it can still be put back.
        if (ops_.rename(bak_, bakTmp_) != 0) return abandon();
        backedUp = false;
        // The new file is in place but the backup's removal may not be on
        // disk; after a crash it would come back and undo this write without
        // anyone being told. Report the failure honestly and make it true by
        // putting the previous content back.
        if (!syncFolderChecked() || ops_.unlink(bakTmp_) != 0) {
            ops_.rename(bakTmp_, txt_);
            dropMarker();
            syncFolder();
            return Written::Failed;
        }
        dropMarker();
    }
    return Written::Done;
}

bool SafeFile::settleBackup() {
    if (SameFile(bak_, txt_)) return ops_.unlink(bak_) == 0 || errno == ENOENT;
    return ops_.rename(bak_, txt_) == 0 || errno == ENOENT;
}

void SafeFile::restoreInterrupted(bool putBackupBack) {
    bool changed = false;
    // rename replaces X.txt in one step, so there is no moment without a file.
    if (putBackupBack && IsRegularFile(bak_) && settleBackup()) changed = true;
    if (!IsRegularFile(bak_)) dropMarker();
    for (const QByteArray* stray : {&txtTmp_, &bakTmp_}) {
        if (ops_.exists(*stray) && ops_.unlink(*stray) == 0) changed = true;
    }
    if (changed) syncFolder();
}

bool SafeFile::remove() {
    for (const QByteArray* name : {&bak_, &txt_}) {
        if (ops_.exists(*name) && ops_.unlink(*name) != 0 && errno != ENOENT) return false;
    }
    dropMarker();
    return syncFolderChecked();
}

bool SafeFile::moveAside(const QString& path) { return moveAside(name_, path); }
bool SafeFile::moveBackupAside(const QString& path) {
    if (!moveAside(bak_, path)) return false;
    dropMarker();
    return true;
}

bool SafeFile::moveAside(const QByteArray& from, const QString& path) {
    const QByteArray to = QFile::encodeName(path);
    if (ops_.exists(to)) {
        errno = EEXIST;
        return false;
    }
    if (ops_.rename(from, to) != 0) return false;
    syncFolder();
    return true;
}

bool CreateFileDurably(FileOps& ops, const QString& path, const QByteArray& bytes, mode_t mode) {
    const QByteArray name = QFile::encodeName(path);
    const QByteArray folder = FolderOf(QFileInfo(path).path() + QLatin1Char('/'));
    bool unsupported = false;
    const int unnamed = WriteUnnamed(ops, folder, bytes, mode, CreatedMode, unsupported);
    if (unnamed >= 0) {
        if (!NameAndClose(ops, unnamed, name)) return false;
    } else {
        if (!unsupported) return false;
        const int fd = ops.open(name, NewFileFlags | O_EXCL, mode);
        if (fd < 0) return false;
        if (!FinishFile(ops, fd, bytes)) {
            const int saved = errno;
            ops.unlink(name);
            errno = saved == EEXIST ? EIO : saved;
            return false;
        }
    }
    if (!SyncFolder(ops, folder)) {
        const int saved = errno;
        ops.unlink(name);
        errno = saved == EEXIST ? EIO : saved;
        return false;
    }
    return true;
}

bool ReplaceFileDurably(FileOps& ops, const QString& chosen, const QByteArray& bytes) {
    const QFileInfo link(chosen);
    const QString path = link.isSymLink() ? link.symLinkTarget() : chosen;
    const QByteArray target = QFile::encodeName(path);
    const QByteArray folder = FolderOf(QFileInfo(path).path() + QLatin1Char('/'));
    struct stat previous {};
    const bool replacing = ::stat(target.constData(), &previous) == 0 && S_ISREG(previous.st_mode);
    const mode_t mode = replacing ? previous.st_mode & 07777 : CreatedMode;

    // A temporary file that a killed export left under its name is swept:
    // only a plain file of this user's, under exactly the name used below.
    for (int n = 1; n < 100; ++n) {
        const QByteArray stale = QFile::encodeName(path + QStringLiteral(".%1.tmp").arg(n));
        struct stat st;
        if (::lstat(stale.constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
            ops.unlink(stale);
    }

    // Written without a name where the file system allows it, and named only
    // just before the rename, so an export killed while it writes leaves
    // nothing in the user's folder.
    bool unsupported = false;
    const int unnamed = WriteUnnamed(ops, folder, bytes, 0666, mode, unsupported);
    if (unnamed < 0 && !unsupported) return false;
    // The temporary name must not be someone else's file: it is taken
    // exclusively, with a new number while one is taken.
    for (int n = 1; n < 100; ++n) {
        const QByteArray from = QFile::encodeName(path + QStringLiteral(".%1.tmp").arg(n));
        if (unnamed >= 0) {
            if (ops.linkOpenFile(unnamed, from) != 0) {
                if (errno == EEXIST) continue;
                CloseAfterFailure(ops, unnamed);
                return false;
            }
            if (ops.close(unnamed) != 0) {
                const int saved = errno;
                ops.unlink(from);
                errno = saved;
                return false;
            }
        } else {
            if (!CreateFileDurably(ops, QFile::decodeName(from), bytes, 0666)) {
                if (errno == EEXIST) continue;
                return false;
            }
            if (mode != CreatedMode) ::chmod(from.constData(), mode);
        }
        if (ops.rename(from, target) != 0) {
            const int saved = errno;
            ops.unlink(from);
            errno = saved;
            return false;
        }
        // The rename has replaced the file whole; a folder that then refuses
        // to sync cannot give the previous file back, so failing here would
        // only report a complete file as missing.
        SyncFolder(ops, folder);
        return true;
    }
    if (unnamed >= 0) CloseAfterFailure(ops, unnamed);
    return false;
}

}  // namespace morv
