#include "app/core/ImportSteps.h"

#include "storage/DataFiles.h"

namespace morv {

bool AdoptImport(Diary& diary, DataFiles& files, DataFile file) {
    if (file == DataFile::Kiroku) {
        ItemList items = diary.ItemTable();
        if (files.KirokuFileWrite(items) != 0) return false;
        diary.SavedItems(items);
        diary.EndItemImport();
        return true;
    }
    if (files.EnbunFileWrite(diary.DailyLog()) != 0) return false;
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
