#include "archive/package_archive.h"

#include <cstring>

#include "archive/entry_inflater.h"
#include "archive/memory_stream.h"
#include "base/byte_order.h"
#include "base/text.h"
#include "platform/file_system.h"
#include "platform/program_resources.h"

namespace setup {

PackageArchive packageArchive;

namespace {

constexpr uint32_t kKeyCapacity = kLookupKeyCapacity;
char lookupKey[kKeyCapacity];

// Reads the index of the image now held; on a bad image the archive is closed again.
bool IndexImage() {
  PackageArchive& archive = packageArchive;
  if (!ReadArchiveIndex(archive.image, archive.imageSize, archive.table, &archive.entryCount)) {
    ClosePackage();
    return false;
  }
  return true;
}

class DiskFileRegistrar : public FolderVisitor {
 public:
  bool Visit(const FolderItem& item) override {
    if (!item.isFolder) RegisterDiskFile(item.name);
    return true;
  }
};

// Every plain file of the current directory joins the index, in the order the listing gives.
void RegisterCurrentFolder(FileSystem& files) {
  char folder[kPathCapacity];
  if (!files.CurrentFolder(folder, sizeof folder)) return;
  DiskFileRegistrar registrar;
  files.ListFolder(folder, registrar);
}

// Without files, no entry is ever read from the current directory.
bool OpenImage(FileSystem* files, const uint8_t* image, uint32_t size, int32_t source) {
  PackageArchive& archive = packageArchive;
  archive.image = image;
  archive.imageSize = size;
  archive.source = source;
  archive.files = files;
  if (!IndexImage()) return false;
  if (files != nullptr) RegisterCurrentFolder(*files);
  return true;
}

// The last table entry whose name is the key, or null.
const ArchiveEntry* FindEntry(const PackageArchive& archive, const char* key) {
  const ArchiveEntry* found = nullptr;
  for (uint32_t i = 0; i < archive.entryCount; ++i) {
    if (EntryNameIs(archive.table[i], key)) found = &archive.table[i];
  }
  return found;
}

const ArchiveEntry* FindEntry(const char* key) { return FindEntry(packageArchive, key); }

}  // namespace

bool OpenPackage(FileSystem& files, ProgramResources& resources, const char* name) {
  if (packageArchive.image != nullptr) return false;
  const uint8_t* resource;
  uint32_t size;
  if (resources.FindPackage(name, &resource, &size)) {
    return OpenImage(&files, resource, size, kPackageResource);
  }
  uint8_t* data;
  if (!files.ReadWholeFile(name, &data, &size)) return false;
  return OpenImage(&files, data, size, kPackageFile);
}

namespace {

// The package resource resourceId, its entries taken from the current directory through files
// when there are files.
bool OpenResourcePackage(FileSystem* files, ProgramResources& resources, int resourceId) {
  if (packageArchive.image != nullptr) return false;
  const uint8_t* resource;
  uint32_t size;
  if (!resources.FindPackage(resourceId, &resource, &size)) return false;
  return OpenImage(files, resource, size, kPackageResource);
}

}  // namespace

bool OpenPackage(FileSystem& files, ProgramResources& resources, int resourceId) {
  return OpenResourcePackage(&files, resources, resourceId);
}

bool OpenBuiltInPackage(ProgramResources& resources, int resourceId) {
  return OpenResourcePackage(nullptr, resources, resourceId);
}

bool OpenPackageImage(const uint8_t* image, uint32_t size, PackageArchive* archive) {
  memset(archive, 0, sizeof *archive);
  if (!ReadArchiveIndex(image, size, archive->table, &archive->entryCount)) return false;
  archive->image = image;
  archive->imageSize = size;
  archive->source = kPackageResource;
  return true;
}

void ClosePackage() {
  if (packageArchive.source == kPackageFile) delete[] packageArchive.image;
  memset(&packageArchive, 0, sizeof packageArchive);
}

void RegisterDiskFile(const char* name) {
  PackageArchive& archive = packageArchive;
  // A longer name cannot be stored whole, and a cut one would be read from a file of another name.
  if (strlen(name) >= kEntryNameCapacity) return;
  for (uint32_t i = 0; i < archive.entryCount; ++i) {
    ArchiveEntry& entry = archive.table[i];
    if (EntryNameIs(entry, name)) {
      entry.offset = entry.storedSize = entry.fullSize = 0;
      return;
    }
  }
  if (archive.entryCount == kMaxArchiveEntries) return;
  ArchiveEntry& added = archive.table[archive.entryCount++];
  memset(&added, 0, sizeof added);
  strcpy(added.name, name);
}

// Entries are loaded on several threads at once.
const char* BaseNameInto(char (&key)[kLookupKeyCapacity], const char* name) {
  const char* slash = strrchr(name, '/');
  if (slash != nullptr && slash != name) {
    CopyTextCut(key, slash + 1, kEntryNameCapacity - 1);
  } else {
    CopyTextCut(key, name, kKeyCapacity - 1);
  }
  return key;
}

const char* BaseName(const char* name) { return BaseNameInto(lookupKey, name); }

bool HasPackageEntry(const char* name) { return HasPackageEntry(packageArchive, name); }

bool HasPackageEntry(const PackageArchive& archive, const char* name) {
  char key[kKeyCapacity];
  return FindEntry(archive, BaseNameInto(key, name)) != nullptr;
}

bool PackageEntrySize(const char* name, uint64_t* size) {
  char key[kKeyCapacity];
  const ArchiveEntry* entry = FindEntry(BaseNameInto(key, name));
  if (entry == nullptr) return false;
  if (entry->storedSize != 0) {
    *size = entry->fullSize;
    return true;
  }
  FileSystem* files = packageArchive.files;
  if (files == nullptr || !files->FileSize(key, size)) return false;
  // A "ZFIL" file is inflated whole while its raw bytes are still held.
  uint8_t header[kZfilHeaderSize];
  uint32_t got = 0;
  if (files->ReadFileStart(key, header, sizeof header, &got) && got >= 12 && HasZfilMagic(header, got)) {
    *size += LoadLE32(header + 8);
  }
  return true;
}

bool FindPackageStream(const char* name, EntryStream* stream) {
  char key[kKeyCapacity];
  const ArchiveEntry* entry = FindEntry(BaseNameInto(key, name));
  if (entry == nullptr || entry->storedSize == 0 || !EntryDataInside(*entry, packageArchive.imageSize)) {
    return false;
  }
  *stream = EntryStream{packageArchive.image + entry->offset, entry->storedSize, entry->fullSize};
  return true;
}

namespace {

// Delivers a file of the current directory, decompressed when it is a "ZFIL" file. On a bad "ZFIL"
// the stream keeps the raw bytes and the lookup fails.
bool LoadDiskEntry(const PackageArchive& archive, MemoryStream& stream, const char* key) {
  if (archive.files == nullptr) return false;
  uint8_t* data;
  uint32_t size;
  if (!archive.files->ReadWholeFile(key, &data, &size)) return false;
  stream.Adopt(data, size);
  if (!HasZfilMagic(data, size)) return true;
  uint32_t storedSize, fullSize;
  if (!ReadZfilHeader(data, size, &storedSize, &fullSize)) return false;
  EntryInflater inflater;
  if (!inflater.Inflate(data + kZfilHeaderSize, storedSize, fullSize)) return false;
  stream.Release();
  stream.Adopt(inflater.TakeOutput(), inflater.OutputLength());
  return true;
}

}  // namespace

bool MemoryStream::LoadEntry(const char* name) { return LoadEntry(packageArchive, name); }

bool MemoryStream::LoadEntry(const PackageArchive& archive, const char* name) {
  char keyBuffer[kKeyCapacity];
  const char* key = BaseNameInto(keyBuffer, name);
  const ArchiveEntry* entry = FindEntry(archive, key);
  if (entry == nullptr) return false;
  if (entry->storedSize == 0) return LoadDiskEntry(archive, *this, key);
  if (!EntryDataInside(*entry, archive.imageSize)) return false;
  EntryInflater inflater;
  if (!inflater.Inflate(archive.image + entry->offset, entry->storedSize, entry->fullSize)) {
    return false;
  }
  Adopt(inflater.TakeOutput(), inflater.OutputLength());
  return true;
}

}  // namespace setup
