#pragma once
// The five data files of the data folder and their read and write procedures.
// Each procedure returns 0 on success and 1 on failure, like the rest of the
// program's storage calls, and reports failures through the status sink
// ("情報処理中にエラーが発生しました") exactly where the user must be told.

#include "storage/FileOps.h"
#include "storage/Records.h"

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

    // The name under which an unreadable file was kept, or empty.
    QString lastSalvagedCopy() const { return lastSalvaged_; }

private:
    int writeFile(const QString& stem, const QByteArray& bytes);
    void salvage(const QString& stem);

    QString folder_;
    StatusSink status_;
    Now now_;
    FileOps& ops_;
    QString lastSalvaged_;
};

}  // namespace morv
