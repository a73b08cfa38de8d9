// The package archive: a "ZARC" image and its index, with the plain files of the current directory
// taking part in every lookup when the program allows it. Start-up opens the program's own and
// owns it; a checker indexes an image of its own. Lookups are safe beside each other on several
// threads once it is open.
#pragma once

#include <cstdint>

#include "archive/archive_format.h"

namespace setup {

class FileSystem;
class MemoryStream;
class ProgramResources;

enum PackageSource : int32_t {
  kPackageClosed = 0,
  kPackageResource = 1,  // the program's own resource, or a checker's image: borrowed, never freed
  kPackageFile = 2,      // a file read into a heap buffer: owned, freed at close
};

// Where an entry's zlib stream lies in the image, for inflating it piece by piece
// (EntryInflater::InflateInPieces).
struct EntryStream {
  const uint8_t* source;
  uint32_t storedSize;
  uint32_t fullSize;
};

// The lookup key of a name: the part after its last '/' (cut to 51 bytes) unless that '/' is the
// first byte; otherwise the whole name (cut to 255 bytes).
constexpr uint32_t kLookupKeyCapacity = 256;
const char* LookupKey(char (&key)[kLookupKeyCapacity], const char* name);

class PackageArchive {
 public:
  PackageArchive() = default;
  ~PackageArchive() { Close(); }
  PackageArchive(const PackageArchive&) = delete;
  PackageArchive& operator=(const PackageArchive&) = delete;

  // Opens the "ZARC" resource of that name, else the file of that name in the current directory;
  // then registers every plain file of the current directory. False, with nothing changed, if an
  // archive is open already or neither source exists; false, with the archive closed, if the image
  // is not a readable "ZARC" archive.
  bool Open(FileSystem& files, ProgramResources& resources, const char* name);
  // As above for the "ZARC" resource with a numeric id, which has no file to fall back on.
  bool Open(FileSystem& files, ProgramResources& resources, int resourceId);
  // The built-in package alone: the "ZARC" resource with that id, and no file of the current
  // directory, neither to replace an entry nor for an entry that the package leaves external.
  bool OpenBuiltIn(ProgramResources& resources, int resourceId);
  // Indexes a "ZARC" image, borrowed: the package alone. False when it is not readable.
  bool OpenImage(const uint8_t* image, uint32_t size);
  // Frees an owned image and empties the index.
  void Close();

  int32_t source() const { return source_; }
  const uint8_t* image() const { return image_; }
  uint32_t entryCount() const { return entryCount_; }
  const ArchiveEntry& entry(uint32_t index) const { return table_[index]; }

  // True while the files of the current directory take part; false for the built-in package
  // alone, whose program reads nothing of the folder it starts from.
  bool ReadsCurrentFolder() const { return files_ != nullptr; }

  // True when a lookup of name would find an entry (without reading it).
  bool Has(const char* name) const;
  // The bytes a lookup of name holds at its height: the full size of an archive entry; the size
  // of a disk entry's file, plus the full size its header claims when it is a "ZFIL" file. False
  // when there is no such entry.
  bool EntrySize(const char* name, uint64_t* size) const;
  // Where the named entry's stream lies in the image. False when the lookup finds no entry inside
  // the image: none, or a file of the current directory, which Load reads.
  bool FindStream(const char* name, EntryStream* stream) const;
  // Fills stream with the named entry, decompressed, in place of what it held. True if found and
  // decoded; on false the stream is as it was, or holds the raw bytes of a damaged "ZFIL" file.
  bool Load(const char* name, MemoryStream& stream) const;

 private:
  bool OpenFrom(FileSystem* files, const uint8_t* image, uint32_t size, int32_t source);
  bool OpenResource(FileSystem* files, ProgramResources& resources, int resourceId);
  // Makes the table entry of that name a disk entry, or appends one. Ignores names that cannot be
  // stored (over 51 bytes), and new names once the table holds 65,535 or cannot grow.
  void RegisterDiskFile(const char* name);
  friend class DiskFileRegistrar;
  // The last table entry whose name is the key, or null.
  const ArchiveEntry* Find(const char* key) const;
  bool LoadDiskEntry(const char* key, MemoryStream& stream) const;

  const uint8_t* image_ = nullptr;
  uint32_t imageSize_ = 0;
  int32_t source_ = kPackageClosed;
  uint32_t entryCount_ = 0;
  FileSystem* files_ = nullptr;  // where disk entries are read from while open
  // The archive's records, then the names from the current directory: room for capacity_.
  ArchiveEntry* table_ = nullptr;
  uint32_t capacity_ = 0;
};

}  // namespace setup
