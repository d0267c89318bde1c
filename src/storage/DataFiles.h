#pragma once
// The five data files of the data folder and their read and write procedures.
// Each procedure returns 0 on success and 1 on failure, like the rest of the
// program's storage calls, and reports failures through the status sink
// ("情報処理中にエラーが発生しました") exactly where the user must be told.

#include "storage/FileOps.h"
#include "storage/Records.h"
#include "storage/SafeWrite.h"

#include <QDateTime>
#include <QString>
#include <functional>

namespace morv {

inline const QString StorageErrorText = QStringLiteral("情報処理中にエラーが発生しました");

class DataFiles {
public:
    using StatusSink = std::function<void(const QString&)>;
    using Now = std::function<QDateTime()>;

    // folder ends in "/".
    DataFiles(QString folder, StatusSink status, Now now, FileOps& ops = SystemFileOps());

    const QString& folder() const { return folder_; }

    // Start-up: creates an empty Kiroku.txt when there is none, then restores
    // any interrupted write of Kiroku, Chomi, Moku, Enbun and Atu in that order.
    void Prepare();

    // Item names: '"' becomes "'" and U+201D becomes U+2019, stored back.
    int KirokuFileWrite(ItemList& items);
    // Seasoning names: the same replacements, stored back; written without
    // surrounding ASCII blanks.
    int ChomiFileWrite(SeasoningList& rows);
    int EnbunFileWrite(const LogList& log);
    int MokuFileWrite(const QString& target);
    int AtuFileWrite(qint32 shift);

    // Fills slots from 0 upward; slots after the last record keep their values.
    int KirokuFileRead(ItemList& items);
    // Fills rows from 0 upward, at most 20.
    int ChomiFileRead(SeasoningList& rows);
    // Replaces the log; on failure the log is empty.
    int EnbunFileRead(LogList& log);
    // The first line, or the empty text.
    int MokuFileRead(QString& target);
    // The shift, 3000 unless the first line is a number that fits 32 bits.
    int AtuFileRead(qint32& shift);

    // When Kiroku.txt or Enbun.txt exists but cannot be read, the read keeps
    // a byte-for-byte copy, "Enbun.unreadable-YYYYMMDD-HHMMSS.txt" (with -2,
    // -3, ... when taken), before anything can overwrite it: the next save
    // replaces the file with what is in memory. An identical earlier copy is
    // reused rather than copied again. This is the full path of the copy the
    // last Kiroku or Enbun read kept, or empty when it kept none.
    QString lastSalvagedCopy() const { return lastSalvaged_; }

private:
    int writeFile(const QString& stem, const QByteArray& bytes);
    int failRead(const QString& stem, SafeFile& file, const QByteArray& bytes, bool readable);
    void salvage(const QString& stem, const QByteArray& bytes);

    QString folder_;
    StatusSink status_;
    Now now_;
    FileOps& ops_;
    QString lastSalvaged_;
};

}  // namespace morv
