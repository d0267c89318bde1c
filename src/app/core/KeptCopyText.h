#pragma once
// The start-up notice about data files kept aside: for each, the file, the
// copy's full path and what the diary shows instead.

#include "storage/DataFiles.h"

#include <QString>
#include <vector>

namespace morv {

QString KeptCopiesText(const std::vector<DataFiles::KeptCopy>& kept);

}  // namespace morv
