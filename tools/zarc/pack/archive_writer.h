// The bytes zarc writes: the "ZARC" header and index, and the "ZFIL" header. The layouts are drawn
// in archive/archive_format.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "zarc/archive/archive_file.h"

namespace zarc {

// One entry ready to be written.
struct PackedEntry {
  std::string name;             // code page 932, checked with EntryNameProblem
  uint32_t fullSize = 0;        // length of the original data
  std::vector<uint8_t> stream;  // its zlib stream; empty for an external entry
  bool external = false;        // read from the setup program's current directory at run time
};

// Places the streams of the given stored sizes back to back after the header and index, in order;
// a stored size of 0 (an external entry) gets offset 0. False when the archive would pass
// kMaxFileSize: then *tooFar is the index of the first entry that does not fit.
bool LayOutArchive(const std::vector<uint64_t>& storedSizes, std::vector<uint32_t>* offsets,
                   uint64_t* imageSize, size_t* tooFar);

// The header and index of an archive of these entries at the offsets from LayOutArchive.
std::vector<uint8_t> ArchiveHead(const std::vector<PackedEntry>& entries,
                                 const std::vector<uint32_t>& offsets);

// The 64-byte "ZFIL" header. The name field holds name NUL-padded, or zeroes when it does not fit
// in 51 bytes; the setup program never reads it.
std::vector<uint8_t> ZfilHead(uint32_t storedSize, uint32_t fullSize, const std::string& name);

}  // namespace zarc
