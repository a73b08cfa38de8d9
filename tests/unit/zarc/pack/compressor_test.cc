// Parallel compression: the same bytes whatever the thread count, streams that the setup
// program's own inflater reads back whole, and the maximum mode's standard zlib streams.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "archive/entry_inflater.h"
#include "fakes/test_archive.h"
#include "platform/platform_fixture.h"
#include "zarc/pack/compressor.h"
#include "zarc/zarc_test_support.h"

namespace zarc::testing {
namespace {

using setup::testing::MakeFileSystem;
using setup::testing::PseudoRandom;
using setup::testing::TempFolder;

using Bytes = std::vector<uint8_t>;

// A random stretch of period bytes over and over: compressible only by reaching back period bytes.
Bytes Periodic(size_t size, size_t period, uint32_t seed) {
  const Bytes pattern = PseudoRandom(period, seed);
  Bytes bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = pattern[i % period];
  return bytes;
}

// Sizes around the 128 KiB block bounds, incompressible and compressible data.
std::vector<Bytes> Inputs() {
  const size_t block = 128 * 1024;
  return {Bytes(),
          Bytes(1, 'x'),
          PseudoRandom(block - 1, 1),
          Periodic(block, 3000, 2),
          Periodic(block + 1, 777, 3),
          PseudoRandom(3 * block + 17, 4),
          Periodic(1 << 20, 20000, 5)};
}

// *counted: the bytes the progress callback was told of.
bool Compress(Compression mode, unsigned threads, const std::vector<Bytes>& inputs,
              std::vector<Bytes>* streams, uint64_t* counted = nullptr) {
  auto read = [&inputs](size_t i, std::unique_ptr<uint8_t[]>* data, uint32_t* size) {
    data->reset(new uint8_t[inputs[i].size() + 1]);
    std::copy(inputs[i].begin(), inputs[i].end(), data->get());
    *size = uint32_t(inputs[i].size());
    return true;
  };
  size_t failed = 0;
  uint64_t sum = 0;
  const bool ok = CompressInputs(mode, threads, inputs.size(), read, streams, &failed,
                                 [&sum](uint64_t bytes) { sum += bytes; });
  if (counted != nullptr) *counted = sum;
  return ok;
}

// What the setup program's inflater makes of a stream, or "<unreadable>".
Bytes InflateBack(const Bytes& stream, uint32_t fullSize) {
  setup::EntryInflater inflater;
  if (!inflater.Inflate(stream.data(), uint32_t(stream.size()), fullSize) ||
      inflater.OutputLength() != fullSize) {
    return Bytes{'?'};
  }
  std::unique_ptr<uint8_t[]> output(inflater.TakeOutput());
  return Bytes(output.get(), output.get() + fullSize);
}

void ExpectSameBytesOnAnyThreadsAndReadBack(Compression mode) {
  const std::vector<Bytes> inputs = Inputs();
  std::vector<Bytes> one;
  ASSERT_TRUE(Compress(mode, 1, inputs, &one));
  ASSERT_EQ(inputs.size(), one.size());
  for (size_t i = 0; i < inputs.size(); ++i) {
    ASSERT_GE(one[i].size(), 6u) << i;
    EXPECT_EQ(0x78, one[i][0]) << i;
    EXPECT_EQ(0xDA, one[i][1]) << i;
    EXPECT_TRUE(InflateBack(one[i], uint32_t(inputs[i].size())) == inputs[i]) << i;
  }
  uint64_t total = 0;
  for (const Bytes& input : inputs) total += input.size();
  for (unsigned threads : {2u, 3u, 8u}) {
    std::vector<Bytes> many;
    uint64_t counted = 0;
    ASSERT_TRUE(Compress(mode, threads, inputs, &many, &counted));
    EXPECT_TRUE(many == one) << threads << " threads";
    EXPECT_EQ(total, counted) << "progress told of every input byte once, " << threads << " threads";
  }
}

TEST(ZarcCompress, NormalModeGivesTheSameBytesOnAnyThreadsAndReadsBack) {
  ExpectSameBytesOnAnyThreadsAndReadBack(Compression::kNormal);
}

TEST(ZarcCompress, MaximumModeGivesTheSameBytesOnAnyThreadsAndReadsBack) {
  if (!MaximumCompressionAvailable()) GTEST_SKIP() << "built without libdeflate";
  ExpectSameBytesOnAnyThreadsAndReadBack(Compression::kMaximum);
}

TEST(ZarcCompress, BlocksReachBackAcrossTheirBounds) {
  // Eight blocks of a 20000-byte period: each block finds its matches in the 32 KiB before it,
  // so the whole costs about one period and the matches (28 KB unsplit), not a period per block.
  const std::vector<Bytes> inputs{Periodic(1 << 20, 20000, 9)};
  std::vector<Bytes> streams;
  ASSERT_TRUE(Compress(Compression::kNormal, 2, inputs, &streams));
  EXPECT_LT(streams[0].size(), 2 * 20000u);
}

TEST(ZarcCompress, AFailedReadStopsAtThatInput) {
  size_t reads = 0;
  auto read = [&reads](size_t i, std::unique_ptr<uint8_t[]>* data, uint32_t* size) {
    ++reads;
    if (i == 2) return false;
    data->reset(new uint8_t[1000]());
    *size = 1000;
    return true;
  };
  std::vector<Bytes> streams;
  size_t failed = 99;
  EXPECT_FALSE(CompressInputs(Compression::kNormal, 3, 6, read, &streams, &failed));
  EXPECT_EQ(2u, failed);
  EXPECT_EQ(3u, reads);
}

class ZarcCompressCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.ok());
    const std::vector<Bytes> inputs = Inputs();
    for (size_t i = 0; i < inputs.size(); ++i) {
      const std::string name = "in" + std::to_string(i) + ".bin";
      ASSERT_TRUE(folder_.WriteFile(name, std::string(inputs[i].begin(), inputs[i].end())));
      paths_.push_back(folder_.PathOf(name));
      contents_.emplace_back(inputs[i].begin(), inputs[i].end());
    }
  }

  // Runs create with options before the files; the archive's bytes, or "" when it failed.
  std::string Create(const std::vector<std::string>& options, const std::string& name) {
    std::vector<std::string> args{"create", folder_.PathOf(name)};
    args.insert(args.end(), options.begin(), options.end());
    args.insert(args.end(), paths_.begin(), paths_.end());
    const RunResult run = Zarc(*files_, args);
    EXPECT_EQ(0, run.status) << run.err;
    std::string bytes;
    folder_.ReadFile(name, &bytes);
    return bytes;
  }

  TempFolder folder_;
  std::unique_ptr<setup::FileSystem> files_ = MakeFileSystem();
  std::vector<std::string> paths_;
  std::vector<std::string> contents_;
};

TEST_F(ZarcCompressCommands, CreateWritesTheSameArchiveOnAnyThreads) {
  const std::string one = Create({"--threads", "1"}, "one.zarc");
  ASSERT_FALSE(one.empty());
  EXPECT_TRUE(one == Create({"--threads", "4"}, "four.zarc"));
  EXPECT_TRUE(one == Create({}, "default.zarc"));
}

TEST_F(ZarcCompressCommands, MaximumArchivesAndZfilFilesReadBackWithTheProgramsReader) {
  if (!MaximumCompressionAvailable()) {
    const RunResult run = Zarc(*files_, {"create", folder_.PathOf("max.zarc"), "--max", paths_[0]});
    EXPECT_EQ(2, run.status);
    EXPECT_NE(std::string::npos, run.err.find("libdeflate")) << run.err;
    const std::vector<std::string> names = FolderNames(*files_, folder_.path());
    EXPECT_EQ(names.end(), std::find(names.begin(), names.end(), "max.zarc"));
    EXPECT_EQ(2, Zarc(*files_, {"zfil", "--max", paths_[0], folder_.PathOf("max.zfil")}).status);
    return;
  }
  const std::string normal = Create({}, "normal.zarc");
  const std::string max = Create({"--max", "--threads", "3"}, "max.zarc");
  EXPECT_LT(max.size(), normal.size());
  std::vector<ReadEntry> entries;
  std::string image;
  ASSERT_TRUE(ReadArchiveBack(*files_, folder_.PathOf("max.zarc"), &entries, &image));
  ASSERT_EQ(contents_.size(), entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    EXPECT_TRUE(entries[i].inflated) << i;
    EXPECT_TRUE(entries[i].data == contents_[i]) << i;
    EXPECT_EQ("\x78\xDA", image.substr(entries[i].offset, 2)) << i;
  }
  EXPECT_EQ(0, Zarc(*files_, {"test", folder_.PathOf("max.zarc")}).status);

  const std::string& biggest = paths_.back();
  ASSERT_EQ(0, Zarc(*files_, {"zfil", "--max", biggest, folder_.PathOf("max.zfil")}).status);
  std::string zfil;
  ASSERT_TRUE(folder_.ReadFile("max.zfil", &zfil));
  EXPECT_EQ("\x78\xDA", zfil.substr(64, 2));
  EXPECT_TRUE(ReadZfilBack(zfil) == contents_.back());
}

}  // namespace
}  // namespace zarc::testing
