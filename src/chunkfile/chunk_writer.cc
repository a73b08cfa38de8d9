#include "chunkfile/chunk_writer.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "base/byte_order.h"
#include "base/text.h"
#include "platform/file_system.h"

namespace setup {

namespace {

void StoreChunkHeader(uint8_t* header, uint32_t id, uint32_t length) {
  StoreLE32(header, id);
  StoreLE32(header + 4, length);
}

}  // namespace

ChunkWriter::ChunkWriter(FileSystem& files)
    : replaced_(files), replacing_(files, path_, temporaryPath_, sizeof temporaryPath_) {}

ChunkWriter::~ChunkWriter() {
  Close();
  if (writtenIds_ != firstIds_) delete[] writtenIds_;
}

bool ChunkWriter::Open(const char* path, uint32_t formType) {
  if (replacing_.file() != nullptr) return false;
  if (!CopyText(path_, sizeof path_, path)) return false;
  writtenCount_ = 0;
  // Nothing to carry over is no reason to refuse: a missing file, another form type or a bad
  // header simply leave the replaced file empty.
  replaced_.Open(path, formType);

  magic_ = 0;
  totalLength_ = 0;
  formType_ = 0;
  chunkId_ = 0;
  chunkLength_ = 0;
  chunkOffset_ = 0;
  failed_ = false;
  if (replacing_.Create() == nullptr) {
    replaced_.Close();
    return false;
  }

  magic_ = kFormMagic;
  totalLength_ = kFileHeaderSize;
  formType_ = formType;
  uint8_t header[kFileHeaderSize];
  StoreLE32(header, magic_);
  StoreLE32(header + 4, totalLength_);
  StoreLE32(header + 8, formType_);
  if (!Put(header, sizeof header)) {
    Discard();
    return false;
  }
  return true;
}

bool ChunkWriter::BeginChunk(uint32_t id) {
  if (replacing_.file() == nullptr || failed_ || chunkOffset_ != 0 || id == 0) return false;
  if (uint64_t(totalLength_) + kChunkHeaderSize > kMaxFileSize) return false;
  if (!ReserveIdSlot()) return false;
  uint8_t header[kChunkHeaderSize];
  StoreChunkHeader(header, id, kChunkHeaderSize);
  if (!Put(header, sizeof header)) return false;
  chunkOffset_ = totalLength_;
  chunkId_ = id;
  chunkLength_ = kChunkHeaderSize;
  writtenIds_[writtenCount_++] = id;
  return true;
}

bool ChunkWriter::Write(const void* data, uint32_t length) {
  if (data == nullptr || chunkOffset_ == 0 || failed_) return false;
  if (uint64_t(chunkOffset_) + chunkLength_ + length > kMaxFileSize) return false;
  if (length == 0) return true;
  if (!Put(data, length)) return false;
  chunkLength_ += length;
  return true;
}

bool ChunkWriter::EndChunk() {
  if (chunkOffset_ == 0 || failed_) return false;
  uint8_t header[kChunkHeaderSize];
  StoreChunkHeader(header, chunkId_, chunkLength_);
  if (!PutAt(chunkOffset_, header, sizeof header, chunkOffset_ + chunkLength_)) return false;
  totalLength_ += chunkLength_;
  chunkOffset_ = 0;
  chunkId_ = 0;
  chunkLength_ = 0;
  return true;
}

bool ChunkWriter::Close() {
  if (replacing_.file() == nullptr) return false;
  // A chunk left open is ended, so the file is always well formed and nothing is merged into it.
  if (chunkOffset_ != 0) EndChunk();
  if (!CarryOverReplacedChunks()) failed_ = true;
  replaced_.Close();

  uint8_t header[kFileHeaderSize];
  StoreLE32(header, magic_);
  StoreLE32(header + 4, totalLength_);
  StoreLE32(header + 8, formType_);
  PutAt(0, header, sizeof header, totalLength_);
  if (!replacing_.Replace(!failed_)) {
    Discard();
    return false;
  }
  writtenCount_ = 0;
  return true;
}

bool ChunkWriter::CarryOverReplacedChunks() {
  for (uint32_t id = replaced_.NextChunk(); id != 0; id = replaced_.NextChunk()) {
    // Checking the ids written so far, carried-over ones included, keeps only the first chunk of
    // each id.
    if (IsWritten(id)) continue;
    // Refusing any chunk here (a failed write, no memory for the id list, a file past 4 GiB)
    // fails the whole rewrite rather than dropping data without a word.
    if (!BeginChunk(id) || !Write(replaced_.ChunkData(), replaced_.ChunkLength() - kChunkHeaderSize) ||
        !EndChunk()) {
      return false;
    }
  }
  return true;
}

bool ChunkWriter::ReserveIdSlot() {
  if (writtenCount_ < writtenCapacity_) return true;
  // A file may hold more than 256 chunks; the list grows so that every one of them is carried over.
  if (writtenCapacity_ > INT32_MAX / 2) return false;
  const int32_t capacity = writtenCapacity_ * 2;
  uint32_t* grown = new (std::nothrow) uint32_t[size_t(capacity)];
  if (grown == nullptr) return false;
  memcpy(grown, writtenIds_, size_t(writtenCount_) * sizeof *grown);
  if (writtenIds_ != firstIds_) delete[] writtenIds_;
  writtenIds_ = grown;
  writtenCapacity_ = capacity;
  return true;
}

bool ChunkWriter::IsWritten(uint32_t id) const {
  for (int32_t i = 0; i < writtenCount_; ++i) {
    if (writtenIds_[i] == id) return true;
  }
  return false;
}

bool ChunkWriter::Put(const void* data, uint32_t size) {
  if (failed_ || !replacing_.file()->Write(data, size)) failed_ = true;
  return !failed_;
}

bool ChunkWriter::PutAt(uint32_t offset, const void* data, uint32_t size, uint32_t resumeAt) {
  OutputFile* output = replacing_.file();
  if (failed_ || !output->Seek(offset) || !output->Write(data, size) || !output->Seek(resumeAt)) {
    failed_ = true;
  }
  return !failed_;
}

void ChunkWriter::Discard() {
  replacing_.Discard();
  replaced_.Close();
  failed_ = false;
  chunkOffset_ = 0;
  chunkId_ = 0;
  chunkLength_ = 0;
  writtenCount_ = 0;
}

}  // namespace setup
