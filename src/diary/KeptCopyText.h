#pragma once
// The start-up notice about data files kept aside: for each, the file, the
// copy's full path (or that it could not be made, so the file is not saved)
// and what the diary shows instead.

#include "storage/DataFiles.h"

#include <QString>
#include <vector>

namespace morv {

// AtStart: the diary shows what could be read in place of a file. KeptInMemory:
// the file came in while the program ran and nothing usable was in it; the
// diary keeps what it held and writes it back.
enum class KeptWhen { AtStart, KeptInMemory };
QString KeptCopiesText(const std::vector<DataFiles::KeptCopy>& kept, KeptWhen when = KeptWhen::AtStart);

// The standing status line while files are held back (their original could
// not be kept aside, so they are not saved); empty when none is.
QString HeldBackLine(const QStringList& files);

}  // namespace morv
