// Reading an archive back: every damage the setup program's reader would trip over is told in
// words, and whole entries come back byte for byte.
#include "zarc/archive/archive_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "fakes/test_archive.h"

namespace zarc {
namespace {

using setup::testing::Bytes;
using setup::testing::BuildArchive;
using setup::testing::Poke32;
using setup::testing::RecordOffset;

// The index of image, or the reason it has none.
std::string Indexed(std::vector<uint8_t> image, LoadedArchive* archive) {
  archive->image.reset(new uint8_t[image.size() + 1]);
  memcpy(archive->image.get(), image.data(), image.size());
  archive->size = uint32_t(image.size());
  std::string why;
  return IndexArchive(archive, &why) ? "indexed" : why;
}

TEST(ZarcArchiveFile, TellsWhyAnIndexCannotBeRead) {
  LoadedArchive archive;
  std::vector<uint8_t> image = BuildArchive({{"a.txt", Bytes("a")}});
  EXPECT_EQ("indexed", Indexed(image, &archive));
  EXPECT_EQ("not a ZARC archive", Indexed({'Z', 'A', 'R'}, &archive));
  std::vector<uint8_t> cut(image.begin(), image.begin() + RecordOffset(1) - 1);
  EXPECT_EQ("its index of 1 entries runs past the end of the file", Indexed(cut, &archive));
  Poke32(image, 4, 513);
  EXPECT_EQ("its index of 513 entries runs past the end of the file", Indexed(image, &archive));
}

TEST(ZarcArchiveFile, FindsEveryRecordTheProgramCouldNotDeliver) {
  std::vector<uint8_t> image = BuildArchive({{"ok.txt", Bytes("fine")},
                                             {"ext.dat", {}, true},
                                             {"a/b.txt", Bytes("slash")},
                                             {"same.txt", Bytes("one")},
                                             {"SAME.TXT", Bytes("letter case counts")},
                                             {"same.txt", Bytes("two")},
                                             {"long.txt", Bytes("n")},
                                             {"empty.txt", Bytes("e")},
                                             {"far.txt", Bytes("far")}});
  memset(&image[RecordOffset(6) + 12], 'n', 52);  // no NUL
  image[RecordOffset(7) + 12] = 0;
  Poke32(image, RecordOffset(8) + 4, uint32_t(image.size()));  // stored size past the end
  LoadedArchive archive;
  ASSERT_EQ("indexed", Indexed(image, &archive));
  const char* expected[] = {"", "", "'/'", "entry 5 has the same name", "", "", "no NUL", "empty",
                            "runs past the end"};
  ASSERT_EQ(9u, archive.count());
  for (uint32_t i = 0; i < archive.count(); ++i) {
    const std::string problem = RecordProblem(archive, i);
    if (*expected[i] == '\0') {
      EXPECT_EQ("", problem) << i;
    } else {
      EXPECT_NE(std::string::npos, problem.find(expected[i])) << i << ": " << problem;
    }
  }
}

TEST(ZarcArchiveFile, InflatesOnlyARecordThatGivesExactlyItsFullSize) {
  const std::vector<uint8_t> data = setup::testing::PseudoRandom(70000, 7);
  std::vector<uint8_t> image = BuildArchive({{"a.bin", data}, {"b.bin", data}, {"c.bin", data}});
  Poke32(image, RecordOffset(1) + 8, 69999);  // claims one byte fewer than it holds
  Poke32(image, RecordOffset(2) + 8, 70001);  // one more
  LoadedArchive archive;
  ASSERT_EQ("indexed", Indexed(image, &archive));
  std::unique_ptr<uint8_t[]> out;
  std::string why;
  ASSERT_TRUE(InflateRecord(archive, 0, &out, &why)) << why;
  EXPECT_EQ(0, memcmp(out.get(), data.data(), data.size()));
  EXPECT_TRUE(CheckRecord(archive, 0, &why));
  for (uint32_t i : {1u, 2u}) {
    EXPECT_FALSE(InflateRecord(archive, i, &out, &why)) << i;
    EXPECT_EQ(nullptr, out.get());
    EXPECT_FALSE(CheckRecord(archive, i, &why)) << i;
  }
  EXPECT_NE(std::string::npos, why.find("inflates to 70000 bytes, not its full size of 70001")) << why;
}

TEST(ZarcArchiveFile, ReadsZfilFilesAndRefusesCutOnes) {
  const std::vector<uint8_t> data = Bytes("a ZFIL file's content");
  std::vector<uint8_t> file = setup::testing::BuildZfil(data);
  std::unique_ptr<uint8_t[]> out;
  uint32_t fullSize = 0;
  std::string why;
  ASSERT_TRUE(InflateZfil(file.data(), uint32_t(file.size()), &out, &fullSize, &why)) << why;
  EXPECT_EQ(data, std::vector<uint8_t>(out.get(), out.get() + fullSize));
  EXPECT_FALSE(InflateZfil(file.data(), uint32_t(file.size() - 1), &out, &fullSize, &why));
  EXPECT_EQ("its stream runs past the end of the file", why);
  file[0] = 'X';
  EXPECT_FALSE(InflateZfil(file.data(), uint32_t(file.size()), &out, &fullSize, &why));
  EXPECT_EQ("not a ZFIL file", why);
}

}  // namespace
}  // namespace zarc
