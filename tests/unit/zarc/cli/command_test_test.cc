// Packages made by Python's zlib (tests/data/make_independent.py), read by the setup program's
// reader and checked by zarc test: both sides agree with a producer other than zarc.
#include <gtest/gtest.h>

#include "platform/platform_fixture.h"
#include "zarc/zarc_test_support.h"

namespace zarc::testing {
namespace {

using setup::testing::MakeFileSystem;

std::string Original(setup::FileSystem& files, const std::string& name) {
  uint8_t* data = nullptr;
  uint32_t size = 0;
  if (!files.ReadWholeFile(TestDataPath("independent/" + name).c_str(), &data, &size)) {
    return "<missing " + name + ">";
  }
  std::string bytes(reinterpret_cast<const char*>(data), size);
  delete[] data;
  return bytes;
}

TEST(ZarcIndependent, ArchiveFromAnotherProducerReadsBack) {
  auto files = MakeFileSystem();
  std::vector<ReadEntry> entries;
  std::string image;
  ASSERT_TRUE(ReadArchiveBack(*files, TestDataPath("independent.zarc"), &entries, &image));
  const std::vector<std::pair<std::string, std::string>> expected{
      {"hello.txt", "hello.txt"},   {"zeros.bin", "zeros.bin"},
      {"random.bin", "random.bin"}, {"readme.txt", "readme.txt"},
      {"\x93\xaf\x88\xd3\x8f\x91.txt", "licence.txt"}, {"empty.txt", "empty.txt"}};
  ASSERT_EQ(expected.size() + 1, entries.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(expected[i].first, entries[i].name);
    EXPECT_TRUE(entries[i].inflated) << entries[i].name;
    EXPECT_TRUE(entries[i].data == Original(*files, expected[i].second)) << entries[i].name;
  }
  EXPECT_EQ("ext.dat", entries.back().name);
  EXPECT_EQ(0u, entries.back().storedSize);

  const RunResult run = Zarc(*files, {"test", TestDataPath("independent.zarc")});
  EXPECT_EQ(0, run.status) << run.err;
  EXPECT_NE(std::string::npos, run.out.find("7 entries OK (1 external")) << run.out;
}

TEST(ZarcIndependent, ZfilFromAnotherProducerPassesTest) {
  auto files = MakeFileSystem();
  const std::pair<const char*, const char*> cases[] = {{"independent_level1.zfil", "random.bin"},
                                                       {"independent_level9.zfil", "hello.txt"}};
  for (const auto& c : cases) {
    uint8_t* data = nullptr;
    uint32_t size = 0;
    ASSERT_TRUE(files->ReadWholeFile(TestDataPath(c.first).c_str(), &data, &size)) << c.first;
    const std::string file(reinterpret_cast<const char*>(data), size);
    delete[] data;
    EXPECT_TRUE(ReadZfilBack(file) == Original(*files, c.second)) << c.first;
    const RunResult run = Zarc(*files, {"test", TestDataPath(c.first)});
    EXPECT_EQ(0, run.status) << c.first << ": " << run.err;
  }
}

}  // namespace
}  // namespace zarc::testing
