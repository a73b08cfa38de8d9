// Writes a chunk file (layout in chunk_format.h) chunk by chunk, and at Close carries over every
// chunk of the file it replaces whose id it did not write, so that a program rewriting its file
// with only the chunks it knows keeps the chunks written by other versions.
//
// The rewrite is crash-safe: the new file is written to a temporary file beside the target
// ("<path>.~zt0", or up to "<path>.~zt9" when that name is taken), brought to stable
// storage and moved over the target in one atomic step at Close. Until then the target is not
// touched, so a crash or power loss at any moment leaves either the whole old file or the whole new
// one. A crash can leave a temporary file behind; the next writer writes over it.
//
// Calling order: Open; any number of chunks, each BeginChunk, Write..., EndChunk; Close (or
// destruction, which closes).
#pragma once

#include <cstdint>

#include "base/text.h"
#include "chunkfile/chunk_reader.h"
#include "platform/replacing_file.h"

namespace setup {

class ChunkWriter {
 public:
  // Files are read, written and replaced through files, which must outlive the writer.
  explicit ChunkWriter(FileSystem& files);
  ChunkWriter(const ChunkWriter&) = delete;
  ChunkWriter& operator=(const ChunkWriter&) = delete;
  // Closes an open writer, carry-over and replacement included.
  ~ChunkWriter();

  // Loads the file now at path as the replaced file (a missing file, another form type or a bad
  // header leave nothing to carry over), creates the temporary file and writes the header. False,
  // with nothing changed, if the writer is open already; false, with the target untouched and no
  // temporary file left, if the path is longer than 259 bytes or the temporary file cannot be
  // created or written.
  bool Open(const char* path, uint32_t formType);

  // Starts a chunk. False, with nothing written, if no file is open, a chunk is open already, id is
  // 0 (it would hide every later chunk from readers), or the file would pass 4 GiB.
  bool BeginChunk(uint32_t id);

  // Appends length bytes to the open chunk. False, with nothing written, if data is null, no chunk
  // is open or the file would pass 4 GiB.
  bool Write(const void* data, uint32_t length);

  // Ends the open chunk and fills in its length. False if no chunk is open.
  bool EndChunk();

  // Ends a chunk left open, carries over the replaced file's chunks whose ids were not written
  // (only the first chunk of each id), fills in the total length, and puts the file in the
  // target's place. False if no file is open. False, with the target untouched and the temporary
  // file removed, if any write, seek or close of the file failed since Open, a chunk could not be
  // carried over, or the target cannot be replaced (read-only, in use). The writer is closed after
  // every call.
  bool Close();

  // Gives up the new file: the temporary file goes and the target stays as it was. For a caller
  // that could not write everything it meant to.
  void Abandon() { Discard(); }

 private:
  static constexpr int32_t kFirstIdCapacity = 256;
  static constexpr uint32_t kMaxFileSize = 0xFFFFFFFFu;

  bool CarryOverReplacedChunks();
  bool ReserveIdSlot();
  bool IsWritten(uint32_t id) const;
  // Write at the current position, or at offset and back to where writing goes on. A failure marks
  // the file as failed for good.
  bool Put(const void* data, uint32_t size);
  bool PutAt(uint32_t offset, const void* data, uint32_t size, uint32_t resumeAt);
  // Removes the temporary file of a failed write and empties the writer.
  void Discard();

  // The file header being built.
  uint32_t magic_ = 0;
  uint32_t totalLength_ = 0;  // 12 + every ended chunk: also where the next chunk starts
  uint32_t formType_ = 0;
  // The open chunk; offset 0 means none is open (the file header lies there).
  uint32_t chunkId_ = 0;
  uint32_t chunkLength_ = 0;
  uint32_t chunkOffset_ = 0;
  ChunkReader replaced_;
  // Every id begun since Open, duplicates included; grows past the first 256 on the heap.
  uint32_t firstIds_[kFirstIdCapacity];
  uint32_t* writtenIds_ = firstIds_;
  int32_t writtenCount_ = 0;
  int32_t writtenCapacity_ = kFirstIdCapacity;
  bool failed_ = false;  // a write, seek or carry-over failed: the file must not replace the target
  char path_[kPathCapacity] = {};
  char temporaryPath_[kPathCapacity + 8];  // room for the suffix beyond the longest target path
  ReplacingFile replacing_;                // the new file, named in temporaryPath_
};

}  // namespace setup
