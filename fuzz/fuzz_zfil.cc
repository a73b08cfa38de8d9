// A file of the current directory that overrides a package entry: delivered raw, or decompressed
// when it begins with "ZFIL".
#include "archive/memory_stream.h"
#include "archive/package_archive.h"
#include "fakes/fake_file_system.h"
#include "platform/memory/memory_resources.h"
#include "fuzz_support.h"

using namespace setup;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  testing::FakeFileSystem files;
  files.AddFile("entry.bin", fuzz::ToBytes(data, size));
  MemoryResources resources;
  resources.Add(135, fuzz::EmptyArchive());
  static PackageArchive archive;
  FUZZ_CHECK(archive.Open(files, resources, 135));

  MemoryStream stream;
  const bool zfil = size >= 4 && data[0] == 'Z' && data[1] == 'F' && data[2] == 'I' && data[3] == 'L';
  const bool found = archive.Load("entry.bin", stream);
  if (!zfil) {
    // Anything else comes byte for byte.
    FUZZ_CHECK(found && stream.Size() == size);
    for (size_t i = 0; i < size; ++i) FUZZ_CHECK(stream.CurrentData()[i] == data[i]);
  } else if (found) {
    // A good "ZFIL" gives what its stream holds, never more than its full size.
    FUZZ_CHECK(size >= 64 && stream.Size() <= fuzz::Le32(data + 8));
    if (stream.Size() != 0) fuzz::ReadAll(stream.CurrentData(), stream.Size());
  }
  stream.Release();
  archive.Close();
  return 0;
}
