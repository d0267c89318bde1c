#pragma once
// The floor the data files are measured against: the same bytes read with one
// read(2), or written with write, fsync and rename, and nothing else.

#include <cstddef>
#include <string>
#include <vector>

namespace morv::bench {

// Reads file into buffer (sized beforehand); false when it cannot be opened.
bool RawRead(const std::string& file, std::vector<char>& buffer);
// Writes size bytes to folder/raw.tmp, syncs them and renames the file to
// folder/raw.txt; folder ends in "/".
bool RawWrite(const std::string& folder, const char* bytes, std::size_t size);

}  // namespace morv::bench
