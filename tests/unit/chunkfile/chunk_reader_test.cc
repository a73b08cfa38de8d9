#include "chunkfile/chunk_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "chunkfile/chunk_test_support.h"

namespace setup::testing {
namespace {

class ChunkReaderTest : public ChunkFileTest {
 protected:
  // Opens the file as "RNKS" (it must open) and walks it the way callers do, while ids are not 0.
  // A walk that does not end is cut off and reported.
  Chunks Walk(const std::string& bytes) {
    Put("save.dat", bytes);
    Chunks chunks;
    if (!reader_.Open(Path("save.dat").c_str(), Id("RNKS"))) {
      ADD_FAILURE() << "did not open";
      return chunks;
    }
    for (uint32_t id = reader_.NextChunk(); id != 0; id = reader_.NextChunk()) {
      if (chunks.size() == 100) {
        ADD_FAILURE() << "the walk does not end";
        break;
      }
      if (reader_.ChunkLength() < 8 || reader_.ChunkLength() > bytes.size()) {
        ADD_FAILURE() << "chunk length " << reader_.ChunkLength() << " in a file of " << bytes.size();
        break;
      }
      chunks.emplace_back(Le32(id), std::string(reinterpret_cast<const char*>(reader_.ChunkData()),
                                                  reader_.ChunkLength() - 8));
    }
    return chunks;
  }
  // After the end, the walk stays ended.
  void ExpectEnded() {
    for (int i = 0; i < 3; ++i) EXPECT_EQ(reader_.NextChunk(), 0u);
    EXPECT_EQ(reader_.ChunkLength(), 0u);
    EXPECT_EQ(reader_.ChunkData(), nullptr);
  }

  ChunkReader reader_{fs()};
};

INSTANTIATE_TEST_SUITE_P(, ChunkReaderTest, ::testing::Values(Storage::kMemory, Storage::kDisk), StorageName);

TEST_P(ChunkReaderTest, WalksChunksBackToBackWithoutPadding) {
  const std::string big = Filler(5000, 1);
  // "abc" makes the next chunk start at the odd offset 23; the empty chunk has length 8.
  const Chunks chunks = {{"KTBL", "abc"}, {"EMPT", ""}, {"OPTN", std::string("\0\x01\xff", 3)}, {"RNKS", big}};
  EXPECT_EQ(Walk(ChunkFile("RNKS", chunks)), chunks);
  ExpectEnded();

  // The lengths include the chunk header.
  ASSERT_TRUE(reader_.Open(Path("save.dat").c_str(), Id("RNKS")));
  EXPECT_EQ(reader_.NextChunk(), Id("KTBL"));
  EXPECT_EQ(reader_.ChunkLength(), 11u);
  EXPECT_EQ(reader_.NextChunk(), Id("EMPT"));
  EXPECT_EQ(reader_.ChunkLength(), 8u);
}

TEST_P(ChunkReaderTest, OnlyTheBytesWithinTheTotalLengthAreChunks) {
  const std::string a = Chunk("AAAA", "first");
  const std::string b = Chunk("BBBB", "second");
  // Header only, and totals too small for any chunk, though chunks follow.
  EXPECT_EQ(Walk(FormHeader("RNKS", 12)), Chunks());
  ExpectEnded();
  for (uint32_t total : {0u, 11u, 12u, 19u}) {
    EXPECT_EQ(Walk(FormHeader("RNKS", total) + a), Chunks()) << total;
  }
  // A whole chunk after the total length is never visited...
  EXPECT_EQ(Walk(FormHeader("RNKS", uint32_t(12 + a.size())) + a + b), (Chunks{{"AAAA", "first"}}));
  // ...nor is one that starts inside it and ends after it.
  EXPECT_EQ(Walk(FormHeader("RNKS", uint32_t(12 + a.size() + 5)) + a + b), (Chunks{{"AAAA", "first"}}));
  ExpectEnded();
}

TEST_P(ChunkReaderTest, AChunkOfIdZeroEndsTheWalk) {
  EXPECT_EQ(Walk(ChunkFile("RNKS", {{"AAAA", "a"}, {std::string(4, '\0'), "zero"}, {"BBBB", "b"}})),
            (Chunks{{"AAAA", "a"}}));
}

// Lengths from a damaged file: the walk ends where a chunk stops making sense, and stays ended.
// Buffers are loaded at their exact size, so the sanitizer build catches any read past them.
TEST_P(ChunkReaderTest, BadLengthsEndTheWalkWithoutReadingOutsideTheFile) {
  const std::string a = Chunk("AAAA", "first");
  const Chunks justA = {{"AAAA", "first"}};
  auto file = [&](uint32_t total, const std::string& rest) { return FormHeader("RNKS", total) + a + rest; };
  const uint32_t exact = uint32_t(12 + a.size());
  const struct {
    const char* what;
    std::string bytes;
    Chunks expected;
  } cases[] = {
      {"total past the end of the file", file(1000, Chunk("BBBB", "b")), {{"AAAA", "first"}, {"BBBB", "b"}}},
      {"a chunk running past the end of the file", file(1000, RawChunk("BBBB", 20, "short")), justA},
      {"a chunk header cut short", file(exact + 8, "BBBB"), justA},
      {"length 0, which would return the same chunk for ever", file(exact + 16, RawChunk("BBBB", 0, "12345678")), justA},
      {"length 7", file(exact + 16, RawChunk("BBBB", 7, "12345678")), justA},
      {"the largest length", file(0xFFFFFFFFu, RawChunk("BBBB", 0xFFFFFFFFu, "12345678")), justA},
      // 25 + 0xFFFFFFF8 wraps to 17 in 32 bits: back inside the file.
      {"a length that wraps the offset", file(0xFFFFFFFFu, RawChunk("BBBB", 0xFFFFFFF8u, "12345678")), justA},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Walk(c.bytes), c.expected);
    ExpectEnded();
  }
}

TEST_P(ChunkReaderTest, OpenAcceptsOnlyChunkFilesOfTheFormType) {
  const std::string good = ChunkFile("RNKS", {{"AAAA", "a"}});
  const struct {
    const char* what;
    std::string bytes;
    uint32_t formType;
  } refused[] = {
      {"empty", "", 0},
      // Shorter than the header: the missing form type must not read as 0.
      {"magic and total only", "FORM" + Le32(8), 0},
      {"11 bytes", good.substr(0, 11), Id("RNKS")},
      {"another magic", "MROF" + good.substr(4), Id("RNKS")},
      {"another form type", good, Id("ZIML")},
  };
  for (const auto& r : refused) {
    SCOPED_TRACE(r.what);
    // A reader holding another file lets go of it, whatever the new one turns out to be.
    Put("good.dat", good);
    ASSERT_TRUE(reader_.Open(Path("good.dat").c_str(), Id("RNKS")));
    Put("bad.dat", r.bytes);
    EXPECT_FALSE(reader_.Open(Path("bad.dat").c_str(), r.formType));
    EXPECT_EQ(reader_.TotalLength(), 0u);
    ExpectEnded();
  }

  // A file that cannot be read leaves the reader as it was; Close lets go.
  ASSERT_TRUE(reader_.Open(Path("good.dat").c_str(), Id("RNKS")));
  EXPECT_FALSE(reader_.Open(Path("missing.dat").c_str(), Id("RNKS")));
  EXPECT_EQ(reader_.NextChunk(), Id("AAAA"));
  EXPECT_EQ(*reader_.ChunkData(), 'a');
  EXPECT_TRUE(reader_.Close());
  ExpectEnded();
}

}  // namespace
}  // namespace setup::testing
