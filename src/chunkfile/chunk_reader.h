// Reads a chunk file (layout in chunk_format.h): loads it whole, checks its header and walks its
// chunks, handing out each chunk's data in place.
//
// Because the whole file is in memory, a file can be rewritten in place: open a ChunkReader on the
// path, then a ChunkWriter on the same path, and copy chunks from the one to the other.
#pragma once

#include <cstdint>

#include "archive/memory_stream.h"
#include "chunkfile/chunk_format.h"

namespace setup {

class FileSystem;

class ChunkReader {
 public:
  // The file is read through files, which must outlive the reader.
  explicit ChunkReader(FileSystem& files);
  ChunkReader(const ChunkReader&) = delete;
  ChunkReader& operator=(const ChunkReader&) = delete;
  ~ChunkReader();

  // Loads the whole file at path. True if it is a chunk file of formType; the walk then starts
  // before the first chunk. False, with the reader as it was, if the file cannot be read; false,
  // with the reader closed, if it is shorter than its header, not "FORM", or of another form type.
  bool Open(const char* path, uint32_t formType);

  // Advances to the next chunk and returns its id; 0 when the chunks end (also for a chunk of id 0).
  // The walk only takes chunks that lie wholly within both the total length and the loaded bytes:
  // a chunk header that does not fit, a length below 8 or a chunk running past either end ends
  // the walk there, and every later call returns 0 again.
  uint32_t NextChunk();

  // The current chunk's data, inside the loaded bytes and valid until Close; null when there is no
  // current chunk.
  const uint8_t* ChunkData() const;

  // The current chunk's length field, 8 + the data length; 0 when there is no current chunk.
  uint32_t ChunkLength() const { return chunkLength_; }

  // The header's total length as read; 0 when closed.
  uint32_t TotalLength() const { return totalLength_; }

  // Frees the loaded bytes and zeroes everything. Always true.
  bool Close();

 private:
  FileSystem& files_;
  // The header as read from the file.
  uint32_t magic_ = 0;
  uint32_t totalLength_ = 0;
  uint32_t formType_ = 0;
  // The chunk that NextChunk returned last.
  uint32_t chunkId_ = 0;
  uint32_t chunkLength_ = 0;
  uint32_t offset_ = 0;  // the current chunk header's offset; 12 after Open
  MemoryStream bytes_;   // the whole file
};

}  // namespace setup
