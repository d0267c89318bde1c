#pragma once
// The kinds of data the diary keeps on disk, one file each; their table is
// DataKinds.h.

#include <cstddef>

namespace morv {

enum class DataFile { Kiroku, Chomi, Moku, Enbun, Atu };
inline constexpr std::size_t DataFileCount = 5;

}  // namespace morv
