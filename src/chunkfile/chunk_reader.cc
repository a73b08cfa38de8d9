#include "chunkfile/chunk_reader.h"

#include "base/byte_order.h"
#include "platform/file_system.h"

namespace setup {

ChunkReader::ChunkReader(FileSystem& files) : files_(files) {}

ChunkReader::~ChunkReader() { Close(); }

bool ChunkReader::Open(const char* path, uint32_t formType) {
  uint8_t* data = nullptr;
  uint32_t size = 0;
  if (!files_.ReadWholeFile(path, &data, &size)) return false;
  // A reader opened again lets go of its earlier file, and no header field of it may survive to
  // make a short file look valid.
  Close();
  bytes_.Adopt(data, size);

  uint8_t header[kFileHeaderSize];
  if (bytes_.Read(header, sizeof header) != sizeof header) {
    Close();
    return false;
  }
  magic_ = LoadLE32(header);
  totalLength_ = LoadLE32(header + 4);
  formType_ = LoadLE32(header + 8);
  if (magic_ != kFormMagic || formType_ != formType) {
    Close();
    return false;
  }
  offset_ = kFileHeaderSize;
  return true;
}

uint32_t ChunkReader::NextChunk() {
  // The lengths come from the file, so every step is checked against the loaded bytes. Where the
  // walk ends, the current chunk is emptied and the offset stays there, so later calls stop at the
  // same place instead of walking on. The current chunk always lies within the loaded bytes, so
  // the next offset fits in 32 bits.
  offset_ += chunkLength_;
  chunkId_ = 0;
  chunkLength_ = 0;
  const uint32_t end = totalLength_ < bytes_.Size() ? totalLength_ : bytes_.Size();
  if (!RangeInside(offset_, kChunkHeaderSize, end)) return 0;

  bytes_.Seek(int32_t(offset_), 0);  // origin 0 takes the offset as unsigned
  uint8_t header[kChunkHeaderSize];
  bytes_.Read(header, sizeof header);
  const uint32_t length = LoadLE32(header + 4);
  if (length < kChunkHeaderSize || !RangeInside(offset_, length, end)) return 0;
  chunkId_ = LoadLE32(header);
  chunkLength_ = length;
  return chunkId_;
}

const uint8_t* ChunkReader::ChunkData() const {
  return chunkLength_ == 0 ? nullptr : bytes_.CurrentData();
}

bool ChunkReader::Close() {
  bytes_.Release();
  magic_ = 0;
  totalLength_ = 0;
  formType_ = 0;
  chunkId_ = 0;
  chunkLength_ = 0;
  offset_ = 0;
  return true;
}

}  // namespace setup
