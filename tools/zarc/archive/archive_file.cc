#include "zarc/archive/archive_file.h"

#include <cstring>

#include "archive/entry_inflater.h"
#include "base/byte_order.h"

namespace zarc {

using setup::ArchiveEntry;
using setup::kArchiveHeaderSize;
using setup::kArchiveRecordSize;
using setup::kEntryNameCapacity;

namespace {

// Why ReadArchiveIndex refused an image, told again in words.
std::string IndexProblem(const uint8_t* image, uint32_t size) {
  if (size < kArchiveHeaderSize || memcmp(image, "ZARC", 4) != 0) return "not a ZARC archive";
  const uint32_t count = setup::LoadLE16(image + 4);
  return "its index of " + std::to_string(count) + " entries runs past the end of the file";
}

// Why a stream did not give its full size; ok when it did.
bool InflatedWhole(bool ok, uint32_t length, uint32_t fullSize, std::string* why) {
  if (!ok) {
    *why = "its data does not inflate to at most " + std::to_string(fullSize) +
           " bytes (corrupt, truncated, longer than its full size or with bytes after its end)";
    return false;
  }
  if (length != fullSize) {
    *why = "its data inflates to " + std::to_string(length) + " bytes, not its full size of " +
           std::to_string(fullSize);
    return false;
  }
  return true;
}

bool Inflate(const uint8_t* source, uint32_t storedSize, uint32_t fullSize,
             std::unique_ptr<uint8_t[]>* data, std::string* why) {
  setup::EntryInflater inflater;
  const bool ok = inflater.Inflate(source, storedSize, fullSize);
  std::unique_ptr<uint8_t[]> output(inflater.TakeOutput());
  if (!InflatedWhole(ok, inflater.OutputLength(), fullSize, why)) return false;
  *data = std::move(output);
  return true;
}

bool RecordInside(const ArchiveEntry& entry, const LoadedArchive& archive, std::string* why) {
  if (setup::EntryDataInside(entry, archive.size)) return true;
  *why = "its data runs past the end of the archive";
  return false;
}

}  // namespace

bool LoadFile(setup::FileSystem& files, const std::string& path, std::unique_ptr<uint8_t[]>* data,
              uint32_t* size, std::string* why) {
  uint8_t* bytes = nullptr;
  if (!files.ReadWholeFile(path.c_str(), &bytes, size)) {
    uint64_t fileSize = 0;
    *why = !files.FileSize(path.c_str(), &fileSize) ? "cannot open it"
           : fileSize > kMaxFileSize                ? "it is 4 GiB or larger"
                                                    : "cannot read it";
    return false;
  }
  data->reset(bytes);
  return true;
}

bool IndexArchive(LoadedArchive* archive, std::string* why) {
  if (!archive->index.OpenImage(archive->bytes(), archive->size)) {
    *why = IndexProblem(archive->bytes(), archive->size);
    return false;
  }
  return true;
}

bool LoadArchive(setup::FileSystem& files, const std::string& path, LoadedArchive* archive,
                 std::string* why) {
  return LoadFile(files, path, &archive->image, &archive->size, why) && IndexArchive(archive, why);
}

std::string RecordName(const ArchiveEntry& entry) {
  return std::string(entry.name, strnlen(entry.name, kEntryNameCapacity));
}

std::string RecordProblem(const LoadedArchive& archive, uint32_t i) {
  const ArchiveEntry& entry = archive.record(i);
  const std::string name = RecordName(entry);
  if (name.size() == kEntryNameCapacity) return "its name has no NUL within 52 bytes";
  if (name.empty()) return "its name is empty";
  if (name.find('/') != std::string::npos) {
    return "its name holds a '/', so lookups find the part after it instead";
  }
  for (uint32_t later = i + 1; later < archive.count(); ++later) {
    if (setup::EntryNameIs(archive.record(later), name.c_str())) {
      return "entry " + std::to_string(later) + " has the same name and hides it";
    }
  }
  if (entry.storedSize != 0 && !setup::EntryDataInside(entry, archive.size)) {
    return "its data (offset " + std::to_string(entry.offset) + ", " +
           std::to_string(entry.storedSize) + " bytes) runs past the end of the archive (" +
           std::to_string(archive.size) + " bytes)";
  }
  return std::string();
}

bool InflateRecord(const LoadedArchive& archive, uint32_t i, std::unique_ptr<uint8_t[]>* data,
                   std::string* why) {
  data->reset();
  const ArchiveEntry& entry = archive.record(i);
  return RecordInside(entry, archive, why) &&
         Inflate(archive.bytes() + entry.offset, entry.storedSize, entry.fullSize, data, why);
}

bool CheckRecord(const LoadedArchive& archive, uint32_t i, std::string* why) {
  const ArchiveEntry& entry = archive.record(i);
  if (!RecordInside(entry, archive, why)) return false;
  setup::EntryInflater inflater;
  const bool ok = inflater.InflateInPieces(archive.bytes() + entry.offset, entry.storedSize,
                                           entry.fullSize, nullptr, 0, nullptr, nullptr);
  return InflatedWhole(ok, inflater.OutputLength(), entry.fullSize, why);
}

bool InflateZfil(const uint8_t* file, uint32_t size, std::unique_ptr<uint8_t[]>* data,
                 uint32_t* fullSize, std::string* why) {
  uint32_t stored = 0;
  if (!setup::ReadZfilHeader(file, size, &stored, fullSize)) {
    *why = setup::HasZfilMagic(file, size) ? "its stream runs past the end of the file"
                                           : "not a ZFIL file";
    return false;
  }
  return Inflate(file + setup::kZfilHeaderSize, stored, *fullSize, data, why);
}

}  // namespace zarc
