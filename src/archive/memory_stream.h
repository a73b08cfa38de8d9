// An owned heap buffer with a size and one read position: the form in which every package entry
// reaches the code that uses it.
#pragma once

#include <cstdint>

namespace setup {

class MemoryStream {
 public:
  MemoryStream() = default;
  MemoryStream(const MemoryStream&) = delete;
  MemoryStream& operator=(const MemoryStream&) = delete;
  ~MemoryStream();

  // Frees the buffer and empties the stream. Always true.
  bool Release();

  // Copies up to count bytes from the position and advances it; returns the bytes copied, 0 at or
  // past the end.
  uint32_t Read(void* destination, uint32_t count);

  // The bytes at the position, or null when the position lies past the end (a pointer exactly at
  // the end is returned: nothing may be read through it).
  uint8_t* CurrentData() const;

  // Moves the position: origin 0 from the start, 1 from the position (negative offsets move back),
  // 2 back from the end. The new position is stored even when it is at or past the end; the result
  // is the new position, or -1 when that lies at or past the end or the origin is unknown (then
  // the position does not move).
  int64_t Seek(int32_t offset, int origin);

  uint32_t Size() const { return size_; }
  uint32_t Capacity() const { return capacity_; }
  uint32_t Position() const { return position_; }

  // Reads one line ending in LF or CR (a CR is taken as CR LF: the byte after it is skipped) into
  // destination[capacity], NUL-terminated. Returns the NUL's address, or null at the end of the data,
  // for a last line without a line break, and for a line that does not fit (then the bytes copied
  // so far stay unterminated).
  char* ReadLine(char* destination, uint32_t capacity);


  // Empties the stream and makes its buffer hold at least capacity bytes; false, with no buffer,
  // when there is no memory for it.
  bool Reserve(uint32_t capacity);

  // Hands the stream a buffer from new[] to own, at position 0, in place of the one it held.
  void Adopt(uint8_t* buffer, uint32_t size);

 private:
  uint8_t* buffer_ = nullptr;
  uint32_t size_ = 0;
  uint32_t capacity_ = 0;
  uint32_t position_ = 0;
};

}  // namespace setup
