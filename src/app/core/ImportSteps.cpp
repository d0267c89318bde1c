#include "app/core/ImportSteps.h"

#include "storage/DataFiles.h"

namespace morv {

namespace {

// "上書き" replaces the file whatever it holds; a version another machine
// saved meanwhile is kept beside it first.
template <class Write>
int Overwrite(DataFiles& files, const QString& stem, Write write) {
    int status = write();
    if (status == DataFiles::ChangedElsewhere) status = files.KeepChangedVersion(stem) ? write() : 1;
    return status;
}

}  // namespace

bool AdoptImport(Diary& diary, DataFiles& files, DataFile file) {
    if (file == DataFile::Kiroku) {
        ItemList items = diary.ItemTable();
        if (Overwrite(files, QStringLiteral("Kiroku"), [&] { return files.KirokuFileWrite(items); }) != 0)
            return false;
        diary.SavedItems(items);
        diary.EndItemImport();
        return true;
    }
    if (Overwrite(files, QStringLiteral("Enbun"), [&] { return files.EnbunFileWrite(diary.DailyLog()); }) != 0)
        return false;
    diary.Saved(DataFile::Enbun);
    diary.EndLogImport();
    return true;
}

bool DropImport(Diary& diary, DataFiles& files, DataFile file) {
    if (file == DataFile::Kiroku) {
        // Read over the previewed table, as a start-up reads over a fresh one:
        // slots the file does not reach keep what they show.
        ItemList items = diary.ItemTable();
        const bool read = files.KirokuFileRead(items) == 0;
        diary.DropItemImport(read ? &items : nullptr);
        return read;
    }
    LogList log;
    const bool read = files.EnbunFileRead(log) == 0;
    diary.DropLogImport(read ? &log : nullptr);
    return read;
}

}  // namespace morv
