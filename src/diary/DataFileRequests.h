#pragma once
// What a panel that imports, exports or deletes may ask of the document:
// the diary itself and the four requests that touch a data file. The
// document's saving, watching and journal stay out of the panels' reach.

#include "diary/DataFile.h"

namespace morv {

class Diary;
class FileOps;

class DataFileRequests {
public:
    virtual Diary& diary() = 0;
    // Where files are written; an export goes the same way.
    virtual FileOps& ops() const = 0;
    // The data of `file` written and marked saved (before an import replaces it).
    virtual bool WriteFile(DataFile file) = 0;
    // An import preview becomes the file's content. false: the preview stays.
    virtual bool AdoptImport(DataFile file) = 0;
    // The file's data comes back over the preview; false when the file can
    // no longer be read (the data kept at the import comes back).
    virtual bool DropImport(DataFile file) = 0;
    // Kiroku.txt or Enbun.txt deleted, its data emptied.
    virtual bool DeleteFile(DataFile file) = 0;

protected:
    ~DataFileRequests() = default;
};

}  // namespace morv
