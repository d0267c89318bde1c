#pragma once
// The ends of an import preview, the same for the item table (Kiroku) and the
// daily log (Enbun): the file kept the data the preview replaced until now.

#include "app/core/Diary.h"

namespace morv {

class DataFiles;

// The preview is written to its file and becomes the data; false when the
// write failed, and the preview stays.
bool AdoptImport(Diary& diary, DataFiles& files, DataFile file);
// The file's data comes back, or the data kept in memory at the import when
// the file can no longer be read (false): the imported data never stays.
bool DropImport(Diary& diary, DataFiles& files, DataFile file);

}  // namespace morv
