// A saved-data chunk file as the installed program left it: walked by the reader, rewritten by the
// merging writer, and converted by the version-up. Each result is compared with a walk of its own
// that follows the format's rules, so a wrong result is a finding even when nothing crashes.
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/flows.h"
#include "app/main_window.h"
#include "chunkfile/chunk_format.h"
#include "chunkfile/chunk_reader.h"
#include "chunkfile/chunk_writer.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_view.h"
#include "fuzz_support.h"
#include "app/session.h"
#include "platform/memory/memory_registry.h"

using namespace setup;

namespace {

using Chunk = std::pair<uint32_t, std::string>;  // id and data

const char kPath[] = "C:\\data\\zimel.dat";

struct Walk {
  bool chunkFile = false;  // "FORM" and a whole header
  uint32_t formType = 0;
  std::vector<Chunk> chunks;
};

// The chunks that lie wholly within both the total length and the bytes, up to the first that
// does not or has id 0.
Walk WalkBytes(const std::vector<uint8_t>& file) {
  Walk walk;
  if (file.size() < kFileHeaderSize || fuzz::Le32(file.data()) != kFormMagic) return walk;
  walk.chunkFile = true;
  walk.formType = fuzz::Le32(file.data() + 8);
  const uint64_t total = fuzz::Le32(file.data() + 4);
  const uint64_t end = total < file.size() ? total : file.size();
  for (uint64_t offset = kFileHeaderSize; offset + kChunkHeaderSize <= end;) {
    const uint32_t id = fuzz::Le32(file.data() + offset);
    const uint32_t length = fuzz::Le32(file.data() + offset + 4);
    if (length < kChunkHeaderSize || offset + length > end || id == 0) break;
    walk.chunks.emplace_back(id, std::string(file.begin() + offset + 8, file.begin() + offset + length));
    offset += length;
  }
  return walk;
}

std::vector<Chunk> ReadWithReader(FileSystem& files, uint32_t formType) {
  std::vector<Chunk> chunks;
  ChunkReader reader(files);
  if (!reader.Open(kPath, formType)) return chunks;
  for (uint32_t id = reader.NextChunk(); id != 0; id = reader.NextChunk()) {
    FUZZ_CHECK(reader.ChunkLength() >= kChunkHeaderSize);
    chunks.emplace_back(id, std::string(reinterpret_cast<const char*>(reader.ChunkData()),
                                        reader.ChunkLength() - kChunkHeaderSize));
  }
  return chunks;
}

// A file the writer made: its total length is its size, and its chunks fill it exactly.
void CheckWellFormed(const std::vector<uint8_t>& file, uint32_t formType, const std::vector<Chunk>& expected) {
  const Walk walk = WalkBytes(file);
  FUZZ_CHECK(walk.chunkFile && walk.formType == formType);
  FUZZ_CHECK(fuzz::Le32(file.data() + 4) == file.size());
  FUZZ_CHECK(walk.chunks == expected);
  size_t bytes = kFileHeaderSize;
  for (const Chunk& chunk : walk.chunks) bytes += kChunkHeaderSize + chunk.second.size();
  FUZZ_CHECK(bytes == file.size());
}

bool Contains(const std::vector<Chunk>& chunks, uint32_t id) {
  for (const Chunk& chunk : chunks) {
    if (chunk.first == id) return true;
  }
  return false;
}

// The writer over the old file: one chunk of its own (the id of the old file's first chunk, so
// that one is replaced), then the old chunks of every other id, the first of each.
void CheckMerge(const std::vector<uint8_t>& old, const Walk& walk) {
  testing::FakeFileSystem files;
  files.AddFolder("C:\\data");
  files.AddFile(kPath, old);
  const uint32_t formType = walk.chunkFile ? walk.formType : ChunkId("RNKS");
  const uint32_t ownId = walk.chunks.empty() ? ChunkId("KTBL") : walk.chunks[0].first;
  std::vector<Chunk> expected = {{ownId, "new"}};
  for (const Chunk& chunk : walk.chunks) {
    if (!Contains(expected, chunk.first)) expected.push_back(chunk);
  }
  {
    ChunkWriter writer(files);
    FUZZ_CHECK(writer.Open(kPath, formType));
    FUZZ_CHECK(writer.BeginChunk(ownId) && writer.Write("new", 3) && writer.EndChunk());
    FUZZ_CHECK(writer.Close());
  }
  CheckWellFormed(files.Contents(kPath), formType, expected);
  FUZZ_CHECK(!files.Has(std::string(kPath) + ".tmp"));
}

// The version-up's conversion: a "ZIML" file becomes "RNKS" with its "KTBL", "OPTN" and "RNKS"
// chunks, every occurrence in order; anything else is left alone.
void CheckConversion(const std::vector<uint8_t>& old, const Walk& walk) {
  testing::FakeFileSystem files;
  files.AddFolder("C:\\data");
  files.AddFile(kPath, old);
  MemoryRegistry registry;
  testing::FakeShell shell;
  MainWindowPlatform platform{files, registry, shell};
  testing::FakeView window(testing::MainWindowControls());
  static SetupSession session;
  session.choices = SetupChoices();
  strcpy(session.choices.installDir, "C:\\data");
  CarryOverSavedData(platform, session, window);

  const std::vector<uint8_t>& now = files.Contents(kPath);
  if (!walk.chunkFile || walk.formType != ChunkId("ZIML")) {
    FUZZ_CHECK(now == old);
    FUZZ_CHECK(shell.shortcuts.empty());
    return;
  }
  std::vector<Chunk> kept;
  for (const Chunk& chunk : walk.chunks) {
    if (chunk.first == ChunkId("KTBL") || chunk.first == ChunkId("OPTN") || chunk.first == ChunkId("RNKS")) {
      kept.push_back(chunk);
    }
  }
  CheckWellFormed(now, ChunkId("RNKS"), kept);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> old = fuzz::ToBytes(data, size);
  const Walk walk = WalkBytes(old);

  testing::FakeFileSystem files;
  files.AddFolder("C:\\data");
  files.AddFile(kPath, old);
  const std::vector<Chunk> read = ReadWithReader(files, walk.chunkFile ? walk.formType : ChunkId("ZIML"));
  FUZZ_CHECK(read == walk.chunks);

  CheckMerge(old, walk);
  CheckConversion(old, walk);
  return 0;
}
