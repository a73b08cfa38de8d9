#include "archive/entry_inflater.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <memory>

#include "fakes/test_archive.h"

namespace setup {
namespace {

using testing::Compress;
using testing::PseudoRandom;

// The stream inflated piece by piece into a buffer of capacity bytes; every piece but the last
// must come full.
std::vector<uint8_t> InPieces(const std::vector<uint8_t>& stream, uint32_t fullSize, uint32_t capacity, bool* ok) {
  struct Taken {
    std::vector<uint8_t> bytes;
    uint32_t capacity;
    bool shortPiece = false;
  } taken{{}, capacity};
  auto take = [](void* context, const uint8_t* piece, uint32_t length) {
    Taken& t = *static_cast<Taken*>(context);
    EXPECT_FALSE(t.shortPiece) << "a piece came short before the last";
    t.shortPiece = length < t.capacity;
    t.bytes.insert(t.bytes.end(), piece, piece + length);
    return true;
  };
  EntryInflater inflater;
  std::vector<uint8_t> piece(capacity);
  *ok = inflater.InflateInPieces(stream.data(), uint32_t(stream.size()), fullSize, piece.data(),
                                 capacity, take, &taken);
  if (*ok) {
    EXPECT_EQ(taken.bytes.size(), inflater.OutputLength());
  }
  return *ok ? taken.bytes : std::vector<uint8_t>{};
}

// The stream inflated whole, and checked to come out the same piece by piece, in pieces of
// a few bytes, of a page and larger than most entries, and to be judged the same with no piece.
std::vector<uint8_t> Inflated(const std::vector<uint8_t>& stream, uint32_t fullSize, bool* ok) {
  EntryInflater inflater;
  *ok = inflater.Inflate(stream.data(), uint32_t(stream.size()), fullSize);
  std::vector<uint8_t> whole;
  if (*ok) {
    std::unique_ptr<uint8_t[]> output(inflater.TakeOutput());
    whole.assign(output.get(), output.get() + inflater.OutputLength());
  }
  for (uint32_t capacity : {5u, 4096u, 300000u}) {
    if (capacity == 5 && fullSize > 200000) continue;
    bool pieceOk;
    EXPECT_EQ(whole, InPieces(stream, fullSize, capacity, &pieceOk)) << capacity;
    EXPECT_EQ(*ok, pieceOk) << capacity;
  }
  EntryInflater prover;
  EXPECT_EQ(*ok, prover.InflateInPieces(stream.data(), uint32_t(stream.size()), fullSize, nullptr, 0,
                                        nullptr, nullptr));
  EXPECT_EQ(whole.size(), prover.OutputLength());
  return whole;
}

TEST(EntryInflater, SizesAroundTheWindows) {
  // Sizes on and around the 2048-byte input chunk and the 32 KiB window.
  for (size_t size : {0u, 1u, 2047u, 2048u, 2049u, 4096u, 32767u, 32768u, 32769u, 100000u, 1u << 20}) {
    std::vector<uint8_t> data = PseudoRandom(size, uint32_t(size));
    for (int level : {0, 1, 9}) {
      bool ok;
      EXPECT_EQ(data, Inflated(Compress(data, level), uint32_t(size), &ok)) << size << " " << level;
      EXPECT_TRUE(ok);
    }
  }
}

TEST(EntryInflater, ShorterDataThanTheFullSizeIsReportedShort) {
  std::vector<uint8_t> data = PseudoRandom(3000, 1);
  bool ok;
  std::vector<uint8_t> out = Inflated(Compress(data), 5000, &ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(data, out);
}

TEST(EntryInflater, RefusesDataLongerThanTheFullSize) {
  std::vector<uint8_t> data = PseudoRandom(5000, 2);
  bool ok;
  for (uint32_t full : {4999u, 4096u, 2048u, 100u, 0u}) {
    Inflated(Compress(data), full, &ok);
    EXPECT_FALSE(ok) << full;
  }
}

TEST(EntryInflater, RefusesBrokenStreams) {
  std::vector<uint8_t> data = PseudoRandom(10000, 3);
  std::vector<uint8_t> stream = Compress(data);
  bool ok;

  // 5: no end-of-stream mark; 1 to 4: the last block there, its Adler-32 not whole.
  for (int missing : {1, 2, 4, 5}) {
    std::vector<uint8_t> cut(stream.begin(), stream.end() - missing);
    Inflated(cut, 10000, &ok);
    EXPECT_FALSE(ok) << missing;
  }

  std::vector<uint8_t> wide = stream;  // a header asking for a 64 KiB window, its check right
  wide[0] = 0x88;
  wide[1] = 0x1C;
  Inflated(wide, 10000, &ok);
  EXPECT_FALSE(ok);

  std::vector<uint8_t> corrupt = stream;
  corrupt[corrupt.size() - 2] ^= 0xFF;  // Adler-32 no longer matches
  Inflated(corrupt, 10000, &ok);
  EXPECT_FALSE(ok);

  std::vector<uint8_t> raw = data;  // not zlib data at all
  Inflated(raw, 10000, &ok);
  EXPECT_FALSE(ok);

  Inflated({}, 0, &ok);
  EXPECT_FALSE(ok);
}

TEST(EntryInflater, RefusesAStreamThatNeedsADictionary) {
  const char dictionary[] = "a shared dictionary";
  z_stream z{};
  ASSERT_EQ(Z_OK, deflateInit(&z, 9));
  ASSERT_EQ(Z_OK, deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(dictionary), 19));
  std::vector<uint8_t> data = testing::Bytes("a shared dictionary, used");
  std::vector<uint8_t> out(128);
  z.next_in = data.data();
  z.avail_in = uInt(data.size());
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  ASSERT_EQ(Z_STREAM_END, deflate(&z, Z_FINISH));
  out.resize(z.total_out);
  deflateEnd(&z);
  bool ok;
  Inflated(out, uint32_t(data.size()), &ok);
  EXPECT_FALSE(ok);
}

TEST(EntryInflater, RefusesAFullSizeNoStreamCanReach) {
  // A 20-byte stream cannot make 4 GiB; the record is corrupt and nothing is allocated for it.
  std::vector<uint8_t> stream = Compress(std::vector<uint8_t>(1000, 'z'));
  bool ok;
  Inflated(stream, 0xFFFFFFFFu, &ok);
  EXPECT_FALSE(ok);
}

// The stored size ends with the Adler-32: anything after it, even one byte or a second stream,
// means the record is damaged, whole or in pieces.
TEST(EntryInflater, RefusesBytesAfterTheEndOfTheStream) {
  std::vector<uint8_t> data = PseudoRandom(4000, 4);
  const std::vector<uint8_t> stream = Compress(data);
  for (const std::vector<uint8_t>& after : {std::vector<uint8_t>(1, 0), std::vector<uint8_t>(3000, 0xAB), stream}) {
    std::vector<uint8_t> longer = stream;
    longer.insert(longer.end(), after.begin(), after.end());
    bool ok;
    EXPECT_EQ(std::vector<uint8_t>{}, Inflated(longer, 4000, &ok)) << after.size();
    EXPECT_FALSE(ok) << after.size();
  }
}

}  // namespace
}  // namespace setup
