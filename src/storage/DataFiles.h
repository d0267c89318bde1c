#pragma once
// The five data files of the data folder and their read and write procedures.
// Each procedure returns 0 on success and 1 on failure, like the rest of the
// program's storage calls, and reports failures through the status sink
// ("情報処理中にエラーが発生しました") exactly where the user must be told.
//
// Files are CP932 with CR LF line ends. Every write goes through SafeFile: it
// either replaces the file completely or fails with the previous file intact
// (and then reports). Every read first puts back an interrupted write.

#include "storage/FileOps.h"
#include "storage/Records.h"
#include "storage/SafeWrite.h"

#include <QDateTime>
#include <QString>
#include <functional>

namespace morv {

inline const QString StorageErrorText = QStringLiteral("情報処理中にエラーが発生しました");

// The bytes of Enbun.txt for a log; an exported log is these same bytes.
QByteArray EnbunBytes(const LogList& log);

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

    // Slots 0..159. Item names: '"' becomes "'" and U+201D becomes U+2019,
    // stored back. A double quote in any other field of any file is written as
    // "'" (not stored back), as it would shift every later field.
    int KirokuFileWrite(ItemList& items);
    // Seasoning names: the same replacements, stored back; written without
    // surrounding ASCII blanks, which the rows keep.
    int ChomiFileWrite(SeasoningList& rows);
    // Any number of days.
    int EnbunFileWrite(const LogList& log);
    int MokuFileWrite(const QString& target);
    int AtuFileWrite(qint32 shift);

    // Fills slots from 0 upward; slots after the last record keep their values.
    // 1 for a missing file (silently), a record cut short or more records than
    // the 161 slots (reported); the slots read before the fault keep them.
    int KirokuFileRead(ItemList& items);
    // Fills rows from 0 upward, at most 20; never fails, never reports.
    int ChomiFileRead(SeasoningList& rows);
    // Replaces the log. 1 for a missing file (silently) or a broken one
    // (reported); on failure the log is empty.
    int EnbunFileRead(LogList& log);
    // The first line, or the empty text.
    int MokuFileRead(QString& target);
    // The shift, 3000 unless the first line is a number that fits 32 bits.
    int AtuFileRead(qint32& shift);

    // Deletes Kiroku.txt or Enbun.txt (and a backup a failed write left),
    // durably; a file that is not there is already deleted.
    int KirokuFileDelete();
    int EnbunFileDelete();

    // When Kiroku.txt or Enbun.txt exists but cannot be read, the read keeps
    // its bytes as "Enbun.unreadable-YYYYMMDD-HHMMSS.txt" (with -2, -3, ...
    // when taken) before the next save can replace the file with what is in
    // memory: a byte-for-byte copy when the text is broken (an identical
    // earlier copy is reused rather than copied again), or the file itself,
    // renamed, when its bytes cannot be read at all. This is the full path of
    // what the last Kiroku or Enbun read kept, or empty when it kept nothing.
    QString lastSalvagedCopy() const { return lastSalvaged_; }

private:
    int writeFile(const QString& stem, const QByteArray& bytes);
    int deleteFile(const QString& stem);
    int failRead(const QString& stem, SafeFile& file, const QByteArray& bytes, bool readable);
    void salvage(const QString& stem, SafeFile& file, const QByteArray& bytes, bool readable);

    QString folder_;
    StatusSink status_;
    Now now_;
    FileOps& ops_;
    QString lastSalvaged_;
};

}  // namespace morv
