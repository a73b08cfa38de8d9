// Reading an archive back the way the setup program does, for list, test, extract and the checks:
// the index is the program's own PackageArchive over the image, and each entry goes through the
// program's own EntryInflater.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "archive/archive_format.h"
#include "archive/package_archive.h"
#include "platform/file_system.h"

namespace zarc {

// The largest file the setup program can load: it reads a package whole, with a 32-bit size. What
// zarc writes stays within it.
constexpr uint64_t kMaxFileSize = 0xFFFFFFFFu;

struct LoadedArchive {
  std::unique_ptr<uint8_t[]> image;   // the archive's bytes, when it holds them itself
  const uint8_t* borrowed = nullptr;  // or the bytes of someone else's, which outlive it
  uint32_t size = 0;
  setup::PackageArchive index;        // the package alone, as the program reads it, once indexed

  const uint8_t* bytes() const { return borrowed != nullptr ? borrowed : image.get(); }
  uint32_t count() const { return index.entryCount(); }
  const setup::ArchiveEntry& record(uint32_t i) const { return index.entry(i); }
  // Lets go of the image and the index.
  void Reset() {
    index.Close();
    image.reset();
    borrowed = nullptr;
    size = 0;
  }
};

// Reads a whole file, which the setup program could only load when under 4 GiB. False when it
// cannot; *why then says why, in words for a message about the file.
bool LoadFile(setup::FileSystem& files, const std::string& path, std::unique_ptr<uint8_t[]>* data,
              uint32_t* size, std::string* why);

// Reads the index of an archive already loaded into archive->image (or borrowed) and archive->size. False when it
// is no readable archive, with *why as above.
bool IndexArchive(LoadedArchive* archive, std::string* why);

// LoadFile and IndexArchive in one.
bool LoadArchive(setup::FileSystem& files, const std::string& path, LoadedArchive* archive,
                 std::string* why);

// The record's name: the bytes before its NUL, or all 52 when it has none.
std::string RecordName(const setup::ArchiveEntry& entry);

// Why the setup program cannot deliver record i as it stands, or empty when it can: a name it
// cannot match, a name that a later record hides, or data outside the image. External records
// (stored size 0) are fine here: their data is not in the archive.
std::string RecordProblem(const LoadedArchive& archive, uint32_t i);

// Inflates record i (not external) with the setup program's inflater and checks that it gives
// exactly its full size. On false *why says what went wrong and *data is left empty.
bool InflateRecord(const LoadedArchive& archive, uint32_t i, std::unique_ptr<uint8_t[]>* data,
                   std::string* why);

// InflateRecord's check without its output, which never takes memory of the entry's size.
bool CheckRecord(const LoadedArchive& archive, uint32_t i, std::string* why);

// Inflates the zlib stream of a "ZFIL" file; false with *why as above.
bool InflateZfil(const uint8_t* file, uint32_t size, std::unique_ptr<uint8_t[]>* data,
                 uint32_t* fullSize, std::string* why);

}  // namespace zarc
