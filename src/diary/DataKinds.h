#pragma once
// Every kind of data the diary keeps on disk, one row each: its file's stem,
// its size ceiling, how it is read into the diary and written from it, how a
// version found on disk (another machine's save, a sync program's copy) is
// read, what shows it, and what is shown when its file is kept aside. Code
// that handles "each file" walks this table instead of switching on the
// kind, so a new kind of data is one row here plus its own functions.

#include "diary/DataFile.h"
#include "storage/DataFiles.h"

#include <QString>
#include <array>
#include <cstddef>

namespace morv {

class Diary;
struct DiaryUnjournaled;

// A version of a file as read from disk, whatever its kind: only the member
// of its kind is filled.
struct FileVersion {
    ItemList items = NewItemTable();
    SeasoningList seasonings{};
    LogList log;
    QString target;
    qint32 shift = DefaultPressureBarShift;
};

struct DataKind {
    DataFile file;
    const char* stem;  // "Kiroku": the file is Kiroku.txt
    qint64 ceiling;    // the most bytes a version of it may hold
    // What the diary shows in place of the file when it is kept aside as
    // unreadable, and when it was read only in part.
    const char* shownWhenUnreadable;
    const char* shownWhenChanged;
    // The file read into `version` (DataFiles' status; `use` says what the values are worth).
    int (*read)(DataFiles& files, FileVersion& version, DataFiles::ReadUse* use);
    // A copy's bytes (a sync program's copy, a backup from elsewhere) as a
    // version; false when they are not a whole file of the kind.
    bool (*parse)(QByteArrayView bytes, FileVersion& version);
    // The diary's data as read at the start.
    void (*load)(Diary& diary, FileVersion&& version);
    // The diary's data written: DataFiles' status. A kind whose data is not
    // written now (an import preview, an empty log) returns 0 without writing.
    int (*write)(DataFiles& files, Diary& diary, bool adoptingImport);
    // Whatever shows the data shows it again.
    void (*show)(Diary& diary);
    // Whether a version found on disk lacks or holds otherwise what the diary holds.
    bool (*differs)(const Diary& diary, const FileVersion& version);
    // The whole kind changed here (an import, a deletion, a value): what the journal takes.
    void (*journalWhole)(DiaryUnjournaled& pending);
};

extern const std::array<DataKind, DataFileCount> DataKinds;

inline const DataKind& KindOf(DataFile file) { return DataKinds[static_cast<std::size_t>(file)]; }
// The kind whose file `name` is or is a copy of ("Enbun.txt", "Enbun.bak",
// "Enbun.unreadable-…"); nullptr for any other name.
const DataKind* KindOfName(const QString& name);
// The stem of a data file's name: "Kiroku", "Enbun", ...
inline QString StemOf(DataFile file) { return QString::fromLatin1(KindOf(file).stem); }

}  // namespace morv
