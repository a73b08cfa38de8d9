#include "chunkfile/chunk_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chunkfile/chunk_reader.h"
#include "chunkfile/chunk_test_support.h"
#include "platform/files.h"

namespace setup::testing {
namespace {

class ChunkWriterTest : public ChunkFileTest {
 protected:
  bool Open(const std::string& formType = "RNKS") { return writer_.Open(Target().c_str(), Id(formType)); }
  std::string Target() const { return Path("save.dat"); }
  // Writes each chunk, its data in pieces of up to 4000 bytes.
  void WriteChunks(const Chunks& chunks) {
    for (const auto& [id, data] : chunks) {
      ASSERT_TRUE(writer_.BeginChunk(Id(id))) << id;
      for (size_t done = 0; done < data.size(); done += 4000) {
        ASSERT_TRUE(writer_.Write(data.data() + done, uint32_t(std::min<size_t>(4000, data.size() - done))));
      }
      ASSERT_TRUE(writer_.EndChunk()) << id;
    }
  }
  // The target's chunks after a successful Close, checked strictly; no temporary file is left.
  Chunks Written(const std::string& formType = "RNKS") {
    EXPECT_EQ(Names(), std::vector<std::string>{"save.dat"});
    return ParseStrictly(Get("save.dat"), formType);
  }

  ChunkWriter writer_{fs()};
};

INSTANTIATE_TEST_SUITE_P(, ChunkWriterTest, ::testing::Values(Storage::kMemory, Storage::kDisk), StorageName);

TEST_P(ChunkWriterTest, WritesChunksWithTheirLengthsFilledIn) {
  const Chunks chunks = {{"KTBL", "abc"}, {"EMPT", ""}, {"BIG ", Filler(70000, 2)}, {"OPTN", "x"}};
  ASSERT_TRUE(Open());
  WriteChunks(chunks);
  ASSERT_TRUE(writer_.Close());
  EXPECT_EQ(Get("save.dat"), ChunkFile("RNKS", chunks));
  EXPECT_EQ(Written(), chunks);
}

TEST_P(ChunkWriterTest, CarriesOverTheFirstChunkOfEachIdItDidNotWrite) {
  Put("save.dat", ChunkFile("RNKS", {{"AAAA", "a1"}, {"BBBB", "b-old"}, {"AAAA", "a2"}, {"CCCC", "c"}}));
  ASSERT_TRUE(Open());
  WriteChunks({{"BBBB", "b-new"}, {"DDDD", "d"}});
  ASSERT_TRUE(writer_.Close());
  EXPECT_EQ(Written(), (Chunks{{"BBBB", "b-new"}, {"DDDD", "d"}, {"AAAA", "a1"}, {"CCCC", "c"}}));

  // An empty chunk still stands in for the old one; both chunks of an id written twice are kept.
  ASSERT_TRUE(Open());
  WriteChunks({{"AAAA", ""}, {"XXXX", "1"}, {"XXXX", "2"}});
  ASSERT_TRUE(writer_.Close());
  EXPECT_EQ(Written(), (Chunks{{"AAAA", ""}, {"XXXX", "1"}, {"XXXX", "2"}, {"BBBB", "b-new"}, {"DDDD", "d"},
                               {"CCCC", "c"}}));
}

TEST_P(ChunkWriterTest, OnlyAChunkFileOfTheSameFormTypeIsCarriedOver) {
  const std::string others[] = {ChunkFile("ZIML", {{"AAAA", "a"}}), "not a chunk file at all", "", "FORM"};
  for (const std::string& old : others) {
    SCOPED_TRACE(old);
    Put("save.dat", old);
    ASSERT_TRUE(Open());
    WriteChunks({{"KKKK", "k"}});
    ASSERT_TRUE(writer_.Close());
    EXPECT_EQ(Written(), (Chunks{{"KKKK", "k"}}));
  }
  RemoveAllFiles();
  ASSERT_TRUE(Open());
  ASSERT_TRUE(writer_.Close());
  EXPECT_EQ(Get("save.dat"), FormHeader("RNKS", 12));
}

TEST_P(ChunkWriterTest, AChunkLeftOpenIsEndedBeforeTheCarryOver) {
  const std::string old = ChunkFile("RNKS", {{"ZZZZ", "carried"}});
  Put("save.dat", old);
  ASSERT_TRUE(Open());
  ASSERT_TRUE(writer_.BeginChunk(Id("KKKK")));
  ASSERT_TRUE(writer_.Write("abc", 3));
  EXPECT_TRUE(writer_.Close());
  EXPECT_EQ(Written(), (Chunks{{"KKKK", "abc"}, {"ZZZZ", "carried"}}));

  // Destruction closes the same way.
  Put("save.dat", old);
  {
    ChunkWriter writer(fs());
    ASSERT_TRUE(writer.Open(Target().c_str(), Id("RNKS")));
    ASSERT_TRUE(writer.BeginChunk(Id("KKKK")));
    ASSERT_TRUE(writer.Write("xy", 2));
  }
  EXPECT_EQ(Written(), (Chunks{{"KKKK", "xy"}, {"ZZZZ", "carried"}}));
}

TEST_P(ChunkWriterTest, CallsOutOfOrderFailAndChangeNothing) {
  EXPECT_FALSE(writer_.Close());
  EXPECT_FALSE(writer_.BeginChunk(Id("KKKK")));
  EXPECT_FALSE(writer_.Write("x", 1));
  EXPECT_FALSE(writer_.EndChunk());

  ASSERT_TRUE(Open());
  EXPECT_FALSE(writer_.Open(Path("other.dat").c_str(), Id("RNKS")));
  EXPECT_FALSE(writer_.Write("x", 1));
  EXPECT_FALSE(writer_.EndChunk());
  EXPECT_FALSE(writer_.BeginChunk(0));  // id 0 would end every walk there, hiding what follows
  ASSERT_TRUE(writer_.BeginChunk(Id("KKKK")));
  EXPECT_FALSE(writer_.BeginChunk(Id("LLLL")));
  EXPECT_FALSE(writer_.Write(nullptr, 1));
  ASSERT_TRUE(writer_.Write("y", 1));
  ASSERT_TRUE(writer_.EndChunk());
  EXPECT_FALSE(writer_.EndChunk());
  ASSERT_TRUE(writer_.Close());
  EXPECT_FALSE(writer_.Close());
  EXPECT_EQ(Written(), (Chunks{{"KKKK", "y"}}));
}

std::string NumberedId(char letter, int i) {
  return std::string(1, letter) + char('0' + i / 100) + char('0' + i / 10 % 10) + char('0' + i % 10);
}

TEST_P(ChunkWriterTest, MoreThan256ChunksAreMergedWhole) {
  Chunks old;
  for (int i = 0; i < 300; ++i) old.emplace_back(NumberedId('C', i), Filler(size_t(i % 7), uint32_t(i)));
  Put("save.dat", ChunkFile("RNKS", old));
  ASSERT_TRUE(Open());
  WriteChunks({{"NEW ", "n"}});
  ASSERT_TRUE(writer_.Close());
  Chunks expected = {{"NEW ", "n"}};
  expected.insert(expected.end(), old.begin(), old.end());
  EXPECT_EQ(Written(), expected);

  // Ids written past the first 256 still stand in for the old chunks of the same id.
  Chunks written, replaced;
  for (int i = 0; i < 300; ++i) written.emplace_back(NumberedId('W', i), "new");
  for (int i = 250; i < 310; ++i) replaced.emplace_back(NumberedId('W', i), "old");
  Put("save.dat", ChunkFile("RNKS", replaced));
  ASSERT_TRUE(Open());
  WriteChunks(written);
  ASSERT_TRUE(writer_.Close());
  expected = written;
  expected.insert(expected.end(), replaced.end() - 10, replaced.end());
  EXPECT_EQ(Written(), expected);
}

// The version-up's conversion: the old file is read into memory, then its path written anew.
TEST_P(ChunkWriterTest, RewritesAFileInPlaceUnderAnotherFormType) {
  const Chunks old = {{"KTBL", Filler(999, 3)}, {"JUNK", "dropped"}, {"OPTN", "options"}, {"RNKS", Filler(17, 4)}};
  Put("save.dat", ChunkFile("ZIML", old));
  ChunkReader reader(fs());
  ASSERT_TRUE(reader.Open(Target().c_str(), Id("ZIML")));
  ASSERT_TRUE(Open("RNKS"));
  for (uint32_t id = reader.NextChunk(); id != 0; id = reader.NextChunk()) {
    if (id != Id("KTBL") && id != Id("OPTN") && id != Id("RNKS")) continue;
    ASSERT_TRUE(writer_.BeginChunk(id));
    ASSERT_TRUE(writer_.Write(reader.ChunkData(), reader.ChunkLength() - 8));
    ASSERT_TRUE(writer_.EndChunk());
  }
  // Until Close the old file is still there, whole.
  EXPECT_EQ(Get("save.dat"), ChunkFile("ZIML", old));
  ASSERT_TRUE(writer_.Close());
  EXPECT_EQ(Written(), (Chunks{old[0], old[2], old[3]}));
}

TEST_P(ChunkWriterTest, AFailedOpenLeavesEverythingAsItWas) {
  if (GetParam() == Storage::kDisk) {  // the fake does not check folders
    EXPECT_FALSE(writer_.Open(Path("missing\\save.dat").c_str(), Id("RNKS")));
  }
  EXPECT_FALSE(writer_.Open((Folder() + "\\" + std::string(260 - Folder().size(), 'n')).c_str(), Id("RNKS")));
  EXPECT_EQ(Names(), std::vector<std::string>());

  // Temporary files left by crashes carry the writer's own pattern: they are written over, so
  // however many crashes there were, none blocks the next rewrite and the first name goes with it.
  const std::string old = ChunkFile("RNKS", {{"AAAA", "a"}});
  Put("save.dat", old);
  const std::string beside = std::string("save.dat") + kBesideSuffix;
  for (int i = 0; i < kTemporaryNames; ++i) Put(beside + std::to_string(i), "left by a crash");
  ASSERT_TRUE(Open());
  WriteChunks({{"BBBB", "b"}});
  ASSERT_TRUE(writer_.Close());
  EXPECT_EQ(ParseStrictly(Get("save.dat"), "RNKS"), (Chunks{{"BBBB", "b"}, {"AAAA", "a"}}));
  EXPECT_EQ(Get(beside + "0"), "<missing>");
  EXPECT_EQ(Names().size(), size_t(kTemporaryNames));
}

TEST_P(ChunkWriterTest, ATargetThatCannotBeReplacedIsLeftAsItWas) {
  if (GetParam() == Storage::kMemory) GTEST_SKIP() << "the fake has no read-only files";
  const std::string old = ChunkFile("RNKS", {{"AAAA", "a"}});
  Put("save.dat", old);
  ASSERT_TRUE(MakeReadOnly(Target()));
  ASSERT_TRUE(Open());
  WriteChunks({{"BBBB", "b"}});
  EXPECT_FALSE(writer_.Close());
  EXPECT_EQ(Get("save.dat"), old);
  EXPECT_EQ(Names(), std::vector<std::string>{"save.dat"});
}

}  // namespace
}  // namespace setup::testing
