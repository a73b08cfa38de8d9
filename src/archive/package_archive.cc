#include "archive/package_archive.h"

#include <cstring>
#include <new>

#include "archive/entry_inflater.h"
#include "archive/memory_stream.h"
#include "base/byte_order.h"
#include "base/growing.h"
#include "base/text.h"
#include "platform/file_system.h"
#include "platform/program_resources.h"

namespace setup {

class DiskFileRegistrar : public FolderVisitor {
 public:
  explicit DiskFileRegistrar(PackageArchive& archive) : archive_(archive) {}
  bool Visit(const FolderItem& item) override {
    if (!item.isFolder) archive_.RegisterDiskFile(item.name);
    return true;
  }

 private:
  PackageArchive& archive_;
};

// Without files, no entry is ever read from the current directory.
bool PackageArchive::OpenFrom(FileSystem* files, const uint8_t* image, uint32_t size, int32_t source) {
  image_ = image;
  imageSize_ = size;
  source_ = source;
  files_ = files;
  // The index grows with the package; the files of the folder get room as they come.
  if (ArchiveRecordCount(image, size, &entryCount_)) {
    capacity_ = entryCount_ + 1;
    table_ = reinterpret_cast<ArchiveEntry*>(new (std::nothrow) uint8_t[sizeof(ArchiveEntry) * capacity_]);
  }
  if (table_ == nullptr) {
    Close();
    return false;
  }
  CopyArchiveRecords(image, entryCount_, table_);
  // Every plain file of the current directory joins the index, in the order the listing gives.
  char folder[kPathCapacity];
  if (files != nullptr && files->CurrentFolder(folder, sizeof folder)) {
    DiskFileRegistrar registrar(*this);
    files->ListFolder(folder, registrar);
  }
  return true;
}

bool PackageArchive::Open(FileSystem& files, ProgramResources& resources, const char* name) {
  if (image_ != nullptr) return false;
  const uint8_t* resource;
  uint32_t size;
  if (resources.FindPackage(name, &resource, &size)) return OpenFrom(&files, resource, size, kPackageResource);
  uint8_t* data;
  if (!files.ReadWholeFile(name, &data, &size)) return false;
  return OpenFrom(&files, data, size, kPackageFile);
}

// The package resource resourceId, its entries taken from the current directory through files
// when there are files.
bool PackageArchive::OpenResource(FileSystem* files, ProgramResources& resources, int resourceId) {
  if (image_ != nullptr) return false;
  const uint8_t* resource;
  uint32_t size;
  if (!resources.FindPackage(resourceId, &resource, &size)) return false;
  return OpenFrom(files, resource, size, kPackageResource);
}

bool PackageArchive::Open(FileSystem& files, ProgramResources& resources, int resourceId) {
  return OpenResource(&files, resources, resourceId);
}

bool PackageArchive::OpenBuiltIn(ProgramResources& resources, int resourceId) {
  return OpenResource(nullptr, resources, resourceId);
}

bool PackageArchive::OpenImage(const uint8_t* image, uint32_t size) {
  Close();
  return OpenFrom(nullptr, image, size, kPackageResource);
}

void PackageArchive::Close() {
  if (source_ == kPackageFile) delete[] image_;
  delete[] reinterpret_cast<uint8_t*>(table_);
  table_ = nullptr;
  capacity_ = 0;
  image_ = nullptr;
  imageSize_ = 0;
  source_ = kPackageClosed;
  entryCount_ = 0;
  files_ = nullptr;
}

void PackageArchive::RegisterDiskFile(const char* name) {
  // A longer name cannot be stored whole, and a cut one would be read from a file of another name.
  if (strlen(name) >= kEntryNameCapacity) return;
  for (uint32_t i = 0; i < entryCount_; ++i) {
    ArchiveEntry& entry = table_[i];
    if (EntryNameIs(entry, name)) {
      entry.offset = entry.storedSize = entry.fullSize = 0;
      return;
    }
  }
  uint8_t* room = reinterpret_cast<uint8_t*>(table_);
  if (!MakeRoom(&room, entryCount_, sizeof(ArchiveEntry), &capacity_, kMaxArchiveEntries)) return;
  table_ = reinterpret_cast<ArchiveEntry*>(room);
  ArchiveEntry& added = table_[entryCount_++];
  memset(&added, 0, sizeof added);
  strcpy(added.name, name);
}

const ArchiveEntry* PackageArchive::Find(const char* key) const {
  const ArchiveEntry* found = nullptr;
  for (uint32_t i = 0; i < entryCount_; ++i) {
    if (EntryNameIs(table_[i], key)) found = &table_[i];
  }
  return found;
}

const char* LookupKey(char (&key)[kLookupKeyCapacity], const char* name) {
  const char* slash = strrchr(name, '/');
  if (slash != nullptr && slash != name) {
    CopyTextCut(key, slash + 1, kEntryNameCapacity - 1);
  } else {
    CopyTextCut(key, name, kLookupKeyCapacity - 1);
  }
  return key;
}

bool PackageArchive::Has(const char* name) const {
  char key[kLookupKeyCapacity];
  return Find(LookupKey(key, name)) != nullptr;
}

bool PackageArchive::EntrySize(const char* name, uint64_t* size) const {
  char key[kLookupKeyCapacity];
  const ArchiveEntry* entry = Find(LookupKey(key, name));
  if (entry == nullptr) return false;
  if (entry->storedSize != 0) {
    *size = entry->fullSize;
    return true;
  }
  if (files_ == nullptr || !files_->FileSize(key, size)) return false;
  // A "ZFIL" file is inflated whole while its raw bytes are still held.
  uint8_t header[kZfilHeaderSize];
  uint32_t got = 0;
  if (files_->ReadFileStart(key, header, sizeof header, &got) && got >= 12 && HasZfilMagic(header, got)) {
    *size += LoadLE32(header + 8);
  }
  return true;
}

bool PackageArchive::FindStream(const char* name, EntryStream* stream) const {
  char key[kLookupKeyCapacity];
  const ArchiveEntry* entry = Find(LookupKey(key, name));
  if (entry == nullptr || entry->storedSize == 0 || !EntryDataInside(*entry, imageSize_)) return false;
  *stream = EntryStream{image_ + entry->offset, entry->storedSize, entry->fullSize};
  return true;
}

// A file of the current directory, decompressed when it is a "ZFIL" file. On a bad "ZFIL" the
// stream keeps the raw bytes and the lookup fails.
bool PackageArchive::LoadDiskEntry(const char* key, MemoryStream& stream) const {
  if (files_ == nullptr) return false;
  uint8_t* data;
  uint32_t size;
  if (!files_->ReadWholeFile(key, &data, &size)) return false;
  stream.Adopt(data, size);
  if (!HasZfilMagic(data, size)) return true;
  uint32_t storedSize, fullSize;
  if (!ReadZfilHeader(data, size, &storedSize, &fullSize)) return false;
  EntryInflater inflater;
  if (!inflater.Inflate(data + kZfilHeaderSize, storedSize, fullSize)) return false;
  stream.Adopt(inflater.TakeOutput(), inflater.OutputLength());
  return true;
}

bool PackageArchive::Load(const char* name, MemoryStream& stream) const {
  char key[kLookupKeyCapacity];
  const ArchiveEntry* entry = Find(LookupKey(key, name));
  if (entry == nullptr) return false;
  if (entry->storedSize == 0) return LoadDiskEntry(key, stream);
  if (!EntryDataInside(*entry, imageSize_)) return false;
  EntryInflater inflater;
  if (!inflater.Inflate(image_ + entry->offset, entry->storedSize, entry->fullSize)) return false;
  stream.Adopt(inflater.TakeOutput(), inflater.OutputLength());
  return true;
}

}  // namespace setup
