// A package image from anywhere: opened as the built-in package, with a file of the current
// directory taking part, and every entry of its index looked up and read whole.
#include <cstring>

#include "archive/memory_stream.h"
#include "archive/package_archive.h"
#include "fakes/fake_file_system.h"
#include "platform/memory/memory_resources.h"
#include "fuzz_support.h"

using namespace setup;

namespace {

// Looks name up; what is delivered is read whole.
void LookUp(const PackageArchive& archive, const char* name) {
  MemoryStream stream;
  if (!archive.Load(name, stream)) return;
  FUZZ_CHECK(stream.Size() == 0 || stream.CurrentData() != nullptr);
  if (stream.Size() != 0) fuzz::ReadAll(stream.CurrentData(), stream.Size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  testing::FakeFileSystem files;
  files.AddFile("setup.txt", "#T=from the disk\r\n");  // a disk entry, replacing or added
  MemoryResources resources;
  resources.Add(135, fuzz::ToBytes(data, size));
  static PackageArchive archive;
  if (!archive.Open(files, resources, 135)) return 0;
  FUZZ_CHECK(archive.entryCount() <= kMaxArchiveEntries);

  // The names are copied first: a record's name need not end inside its 52 bytes.
  const uint32_t count = archive.entryCount();
  static char names[kMaxArchiveEntries][kEntryNameCapacity + 1];
  for (uint32_t i = 0; i < count; ++i) {
    memcpy(names[i], archive.entry(i).name, kEntryNameCapacity);
    names[i][kEntryNameCapacity] = '\0';
  }
  for (uint32_t i = 0; i < count; ++i) LookUp(archive, names[i]);
  for (const char* name : {"setup.txt", "setup256.bmp", "dir/setup.txt", "/setup.txt", ""}) LookUp(archive, name);
  archive.Close();
  return 0;
}
