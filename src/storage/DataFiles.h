#pragma once
// The five data files of the data folder and their read and write procedures.
// Each procedure returns 0 on success and 1 on failure, like the rest of the
// program's storage calls, and reports failures through the status sink
// ("情報処理中にエラーが発生しました") exactly where the user must be told.
//
// Files are CP932 with CR LF line ends. Every write goes through SafeFile: it
// either replaces the file completely or fails with the previous file intact
// (and then reports). Every read first puts back an interrupted write. A
// write whose bytes are what the file already holds leaves it alone. A data folder removed
// while the program runs is made again, private, by the next write.

#include "storage/FileOps.h"
#include "storage/Records.h"
#include "storage/SafeWrite.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace morv {

inline const QString StorageErrorText = QStringLiteral("情報処理中にエラーが発生しました");

// The bytes of Enbun.txt for a log; an exported log is these same bytes.
QByteArray EnbunBytes(const LogList& log);
// The same for days that another thread may go on adding to after them.
QByteArray EnbunBytesOf(std::span<const LogRecord> days);
// The bytes of Kiroku.txt for a table, its free slots written unticked and
// empty; an exported table is these lines after its date line.
QByteArray KirokuBytes(const ItemList& items);
// The text up to its first line end (CR or LF): what Moku.txt and Atu.txt hold.
QString FirstLine(const QString& text);

// The most a data file may hold, far above any real diary (a million days of
// log are about 30 MB). A file over it is kept aside by renaming, reported,
// and never parsed: reading it whole could exhaust memory.
inline constexpr qint64 LogFileCeiling = 64 * 1024 * 1024;
inline constexpr qint64 SmallFileCeiling = 1024 * 1024;
// The ceiling of "Enbun", "Kiroku", ...
qint64 DataFileCeiling(const QString& stem);

class DataFiles {
public:
    using StatusSink = std::function<void(const QString&)>;
    using Now = std::function<QDateTime()>;

    // folder ends in "/".
    DataFiles(QString folder, StatusSink status, Now now, FileOps& ops = SystemFileOps());

    const QString& folder() const { return folder_; }
    // Where the files go; other files the program writes go the same way.
    FileOps& ops() const { return ops_; }

    // Start-up: creates an empty Kiroku.txt when there is none, then restores
    // any interrupted write of Kiroku, Chomi, Moku, Enbun and Atu in that order.
    void Prepare();

    // A file this object has read is written only over the version it last
    // read or wrote. When another program has changed the file since, nothing
    // is written and the write returns ChangedElsewhere, without a message:
    // the caller merges and tries again. A file never read here is written as
    // it is found.
    static constexpr int ChangedElsewhere = 2;

    // Slots 0..159. Item names: '"' becomes "'", U+201D becomes U+2019 and
    // CR and LF become blanks, stored back. A double quote in any other field
    // of any file is written as "'" and a CR or LF as a blank (not stored
    // back), as they would shift every later field.
    int KirokuFileWrite(ItemList& items);
    // Seasoning names: the same replacements, stored back; written without
    // surrounding ASCII blanks, which the rows keep.
    int ChomiFileWrite(SeasoningList& rows);
    // Any number of days.
    int EnbunFileWrite(const LogList& log);
    int MokuFileWrite(const QString& target);
    int AtuFileWrite(qint32 shift);

    // What a read's values are worth to a caller that already holds data
    // (a file read again after another program changed it). Every read
    // procedure tells it through its optional `use`; the int status stays
    // what the start-up has always looked at.
    enum class ReadUse {
        // The values are the file, exactly or as well as it could be read
        // (a copy of it is then among the kept copies): they may replace
        // what is in memory.
        Replace,
        // There is no file under the name: the values are the defaults.
        Missing,
        // Nothing usable was read: the file was broken, over its ceiling,
        // no regular file (a folder, a FIFO, a device, a link to one), or
        // could not be read or kept aside. The values are defaults or a
        // part; what is in memory must stay, and is written back at the
        // next save.
        Keep,
    };

    // Fills slots from 0 upward; slots after the last record keep their values.
    // 1 for a missing file (silently), a record cut short or more records than
    // the 161 slots (reported); the slots read before the fault keep them.
    int KirokuFileRead(ItemList& items, ReadUse* use = nullptr);
    // Fills rows from 0 upward, at most 20; never fails, never reports.
    int ChomiFileRead(SeasoningList& rows, ReadUse* use = nullptr);
    // Replaces the log. 1 for a missing file (silently) or a broken one
    // (reported); on failure the log is empty.
    int EnbunFileRead(LogList& log, ReadUse* use = nullptr);
    // The first line, or the empty text.
    int MokuFileRead(QString& target, ReadUse* use = nullptr);
    // The shift, 3000 unless the first line is a number that fits 32 bits.
    int AtuFileRead(qint32& shift, ReadUse* use = nullptr);

    // Deletes Kiroku.txt or Enbun.txt (and a backup a failed write left),
    // durably; a file that is not there is already deleted.
    int KirokuFileDelete();
    int EnbunFileDelete();

    // The program never saves over what it could not read exactly. When a read
    // had to drop, shift or substitute anything (a broken or stray quote, text
    // after a closing quote, a byte-order mark or any undecodable byte, a record
    // cut short, more records than the table holds, a line that is not a
    // number), the file's bytes are kept as "X.unreadable-YYYYMMDD-HHMMSS.txt"
    // (with -2, -3, ... when taken; an identical earlier copy is reused) before
    // any save can replace the file; the values read are as without the copy.
    // A file read with changes whose identical copy already exists is not
    // among the kept copies again: its bytes have not changed since the user
    // was told.
    // A file whose bytes cannot be read at all, that is over its ceiling, or
    // that is no regular file (a FIFO, a device, a folder, a link to one), is
    // renamed to that name instead, never copied; of a link, the link itself
    // is renamed and what it points to stays untouched. Putting back
    // a leftover X.bak keeps the X.txt it replaces the same way when they differ.
    //
    // When the copy cannot be made (a full disk, say), the file is held back:
    // it stays exactly as it is, with a leftover X.bak that it would replace
    // read in its place, and every write or deletion of it fails (reported)
    // after trying the copy again. The first one that can make the copy makes
    // it and goes on. Everything else works as usual, in memory.
    enum class KeptBecause {
        Changed,     // read, but not as the file stands
        Unreadable,  // the read failed, or the file is no regular file
        Replaced,    // a leftover X.bak was put back over it
        Elsewhere,   // changed elsewhere, then replaced on the user's word
    };
    struct KeptCopy {
        QString file;  // "Enbun.txt", or "Enbun.bak" when that was in the way
        QString copy;  // full path of the copy; empty when it could not be made
        KeptBecause because;
        bool tooLarge = false;  // Unreadable because it is over its ceiling ("ファイルが大きすぎます")
        bool notAFile = false;  // Unreadable as no regular file (a FIFO, a device, a folder): no content
    };
    // Every copy kept (or held back for) since the last takeKeptCopies(), in order.
    std::vector<KeptCopy> takeKeptCopies() { return std::exchange(kept_, {}); }
    // The files held back now, as "Enbun.txt".
    QStringList heldBack() const;

    // A leftover X.bak is put back only over the X.txt our own interrupted
    // save installed on this machine in this boot, or over an X.txt cut
    // short (which is kept as a copy, as above). Any other leftover backup
    // (another machine's, carried by a sync program; or ours, with a newer
    // X.txt arrived since) never beats the file that stands: it is renamed
    // "X.merged-YYYYMMDD-HHMMSS.txt" (-2, -3, ... when taken) and offered
    // here, so that the caller merges the days or rows it has and the file
    // lacks, as a change made elsewhere. A backup with no X.txt beside it
    // becomes X.txt, as it overwrites nothing. `copy` is empty when the
    // rename failed; the backup then stays, is never put back, and is
    // offered again at the next read.
    struct LeftoverBackup {
        QString stem;      // "Enbun", ...
        QByteArray bytes;  // the backup's content, as a file of its kind
        QString copy;      // full path it was renamed to
    };
    std::vector<LeftoverBackup> takeLeftoverBackups() { return std::exchange(leftovers_, {}); }

    // The folder this object read from is gone (moved or removed): nothing
    // read here is on disk any more. The next write of each file expects no
    // file there, as into a first run's folder; one that is there after all
    // (another folder in its place) counts as changed elsewhere.
    void ForgetVersions() {
        for (auto& [stem, stamp] : stamps_) stamp = {};
    }

    // The full path of what the last Kiroku or Enbun read kept, or empty when it kept nothing.
    QString lastSalvagedCopy() const { return lastSalvaged_; }

    // Whether the file holds exactly the bytes a write of what was last read
    // from it or written to it would make: a file read in another form (or
    // not at all) is written at the close although nothing in it changed.
    bool StandsAsWritten(const QString& stem) const {
        const auto found = asWritten_.find(stem);
        return found != asWritten_.end() && found->second;
    }

    // ---- Changes made elsewhere ("Kiroku", "Enbun", ...) ----
    // Whether the file is no longer the version last read or written here:
    // one stat, no read. A file never read here has not changed, nor has one
    // whose whole folder is gone.
    bool ChangedOnDisk(const QString& stem);
    // While on, each read also keeps the bytes it parsed, for TakeReadBytes.
    void KeepReadBytes(bool on) { keepReadBytes_ = on; }
    QByteArray TakeReadBytes() { return std::exchange(readBytes_, {}); }
    // The bytes of another copy of the file that lost a merge, kept as
    // "X.conflict-YYYYMMDD-HHMMSS.txt" (-2, -3, ... when taken); its full
    // path, or empty when it could not be made.
    QString KeepConflictCopy(const QString& stem, const QByteArray& bytes);
    // The file changed elsewhere is about to be replaced on the user's word
    // (an import adopted): its version is kept as that copy, noted among the
    // kept copies, and counts as read, so the next write replaces it. false
    // when it could not be kept.
    bool KeepChangedVersion(const QString& stem);

    // ---- The log read again away from the window's thread ----
    // Enbun.txt read and parsed without touching this object, so it may run
    // on another thread: only a plain file in the shape this program writes,
    // with no backup beside it, that stood still while it was read. Nothing
    // otherwise: EnbunFileRead, which knows what to do with the rest, reads it.
    struct LogReread {
        QByteArray bytes;
        LogList log;  // with room for new days
        FileStamp stamp;
    };
    static std::optional<LogReread> ReadUsualLogAway(FileOps& ops, const QString& folder);
    // The version last read or written here, if any.
    std::optional<FileStamp> KnownStamp(const QString& stem) const {
        const auto found = stamps_.find(stem);
        return found == stamps_.end() ? std::nullopt : std::optional<FileStamp>(found->second);
    }
    // What ReadUsualLogAway read is the log now, as EnbunFileRead would have left it.
    void AcceptLogReread(const FileStamp& stamp);

    // ---- The log's save away from the window's thread, in three steps ----
    // Everything a save of Enbun.txt decides here (the folder made again, the
    // copies a held-back file waits for, the version to keep to), or nothing
    // when it cannot be written now (reported).
    struct LogWrite {
        QString folder;
        std::optional<FileStamp> expected;
    };
    std::optional<LogWrite> BeginLogWrite();
    // The bytes of `log` written as EnbunFileWrite writes them; touches only
    // the file system through `ops`, so it may run on another thread.
    struct LogWritten {
        SafeFile::Written written;
        FileStamp stamp;  // what is there afterwards
    };
    // `encoded` is called once `log` is no longer read.
    static LogWritten WriteLog(FileOps& ops, const LogWrite& how, std::span<const LogRecord> log,
                               const std::function<void()>& encoded = {});
    // Back here: what EnbunFileWrite would have returned.
    int FinishLogWrite(const LogWritten& result);

private:
    SafeFile fileOf(const QString& stem) const;
    static SafeFile fileOf(FileOps& ops, const QString& folder, const QString& stem);
    enum class Loaded { Read, Missing, Unreadable };
    Loaded load(const QString& stem, QByteArray& bytes);
    static ReadUse useOf(Loaded loaded);
    // For Kiroku and Enbun: the read's status when there is nothing to parse.
    std::optional<int> loadRecords(const QString& stem, QByteArray& bytes, ReadUse* use);
    // false when a leftover X.bak stays, as the X.txt it would replace is held back.
    bool restore(const QString& stem, SafeFile& file);
    // The leftover backup that may not be put back, renamed aside and offered.
    void offerLeftover(const QString& stem, SafeFile& file, const QByteArray& backup);
    int reportFailure();
    // false when the file is held back for it.
    bool keepCopy(const QString& stem, const QByteArray& bytes, KeptBecause because);
    bool makeCopy(const QString& stem, const QByteArray& bytes, KeptBecause because);
    // Makes the copies a held-back file still waits for; true when none is left.
    bool makeHeldCopies(const QString& stem);
    void keepByRename(const QString& stem, SafeFile& file, bool backup, SafeFile::ReadResult read);
    void noteKept(const QString& file, const QString& path, KeptBecause because, bool tooLarge = false,
                  bool tell = true);
    QString copyName(const QString& stem, int n, QLatin1String kind = QLatin1String(".unreadable-")) const;
    int writeFile(const QString& stem, const QByteArray& bytes);
    using FileWrite = LogWrite;
    std::optional<FileWrite> beginWrite(const QString& stem);
    int finishWrite(const QString& stem, const LogWritten& result);
    int deleteFile(const QString& stem);

    QString folder_;
    StatusSink status_;
    Now now_;
    FileOps& ops_;
    QString lastSalvaged_;
    std::vector<KeptCopy> kept_;
    std::vector<LeftoverBackup> leftovers_;
    std::map<QString, FileStamp> stamps_;  // what this object last read or wrote
    // Each file's name as the system takes it: the check before every save
    // asks for it, and converting the name each time cost as much as the stat.
    std::map<QString, QByteArray> systemNames_;
    const QByteArray& systemName(const QString& stem);
    std::map<QString, bool> asWritten_;
    // The last load read X.txt itself, not a backup standing in for it.
    bool loadSettled_ = false;
    void noteRead(const QString& stem, bool roundTrips) { asWritten_[stem] = loadSettled_ && roundTrips; }
    bool keepReadBytes_ = false;
    QByteArray readBytes_;
    struct HeldCopy {
        QString stem;
        QByteArray bytes;
        KeptBecause because;
    };
    std::vector<HeldCopy> held_;
};

}  // namespace morv
