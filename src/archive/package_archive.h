// The package archive: the one process-wide "ZARC" image and its index, with the plain files of
// the current directory taking part in every lookup. A checker may index an image into an archive
// of its own instead and look entries up there, leaving the program's alone.
#pragma once

#include <cstdint>

#include "archive/archive_format.h"
#include "archive/entry_inflater.h"

namespace setup {

class FileSystem;
class ProgramResources;

enum PackageSource : int32_t {
  kPackageClosed = 0,
  kPackageResource = 1,  // the program's own resource: borrowed, never freed
  kPackageFile = 2,      // a file read into a heap buffer: owned, freed at close
};

struct PackageArchive {
  const uint8_t* image;
  uint32_t imageSize;
  int32_t source;
  uint32_t entryCount;
  ArchiveEntry table[kMaxArchiveEntries];  // archive records, then names from the current directory
  FileSystem* files;                       // where disk entries are read from while open
};

extern PackageArchive packageArchive;

// Opens the "ZARC" resource of that name, else the file of that name in the current directory;
// then registers every plain file of the current directory. False, with nothing changed, if an
// archive is open already or neither source exists; false, with the archive closed, if the image
// is not a readable "ZARC" archive.
bool OpenPackage(FileSystem& files, ProgramResources& resources, const char* name);

// As above for the "ZARC" resource with a numeric id, which has no file to fall back on.
bool OpenPackage(FileSystem& files, ProgramResources& resources, int resourceId);

// The built-in package alone: the "ZARC" resource with that id, and no file of the current
// directory, neither to replace an entry nor for an entry that the package leaves external.
bool OpenBuiltInPackage(ProgramResources& resources, int resourceId);

// Indexes a "ZARC" image, borrowed, into an archive of the caller's own, apart from the program's:
// the package alone, with no files of the current directory. False when it is not readable.
bool OpenPackageImage(const uint8_t* image, uint32_t size, PackageArchive* archive);

// True while the open package takes the files of the current directory in (OpenPackage); false
// for the built-in package alone, whose program reads nothing of the folder it starts from.
inline bool PackageReadsCurrentFolder() { return packageArchive.files != nullptr; }

// Frees an owned image and zeroes the whole archive state.
void ClosePackage();

// Makes the table entry of that name a disk entry, or appends one. Ignores names that cannot be
// stored (over 51 bytes) and new names once the table is full.
void RegisterDiskFile(const char* name);

// True when a lookup of name would find an entry in the table (without reading it).
bool HasPackageEntry(const char* name);
bool HasPackageEntry(const PackageArchive& archive, const char* name);

// The bytes a lookup of name holds at its height: the full size of an archive entry; the size of a
// disk entry's file, plus the full size its header claims when it is a "ZFIL" file. False when
// there is no such entry. Safe beside loads on other threads.
bool PackageEntrySize(const char* name, uint64_t* size);

// Where the named entry's zlib stream lies in the program's own archive image, for inflating it
// piece by piece (EntryInflater::InflateInPieces). False when the lookup finds no entry inside the
// image: none, or a file of the current directory, which MemoryStream::LoadEntry reads. Safe beside
// loads on other threads.
struct EntryStream {
  const uint8_t* source;
  uint32_t storedSize;
  uint32_t fullSize;
};
bool FindPackageStream(const char* name, EntryStream* stream);

// The lookup key of a name: the part after its last '/' (cut to 51 bytes) unless that '/' is the
// first byte; otherwise the whole name (cut to 255 bytes). Held in one process-wide buffer.
const char* BaseName(const char* name);
// The same into the caller's own buffer, for lookups that may run beside others.
constexpr uint32_t kLookupKeyCapacity = 256;
const char* BaseNameInto(char (&key)[kLookupKeyCapacity], const char* name);

}  // namespace setup
