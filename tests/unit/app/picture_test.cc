#include "app/picture.h"

#include <gtest/gtest.h>

#include "archive/memory_stream.h"
#include "archive/package_archive.h"
#include "fakes/fake_file_system.h"
#include "platform/memory/memory_resources.h"
#include "fakes/test_archive.h"
#include "fakes/test_bitmap.h"

namespace setup {
namespace {

using testing::MakeBitmap;
using testing::Poke32;

class PictureTest : public ::testing::Test {
 protected:
  // Loads bitmap as the package's only entry; *offset gets the rows' offset in the entry.
  bool Load(const std::vector<uint8_t>& bitmap, MemoryStream& stream) {
    resources_.Add(135, testing::BuildArchive({{"picture.bmp", bitmap}}));
    if (!archive_.Open(files_, resources_, 135)) return false;
    return LoadPicture(stream, archive_, "picture.bmp", &info_, &bits_);
  }

  testing::FakeFileSystem files_;
  MemoryResources resources_;
  PackageArchive archive_;
  const uint8_t* info_ = nullptr;
  const uint8_t* bits_ = nullptr;
};

TEST_F(PictureTest, PointsAtTheHeaderAndTheRowsInsideTheEntry) {
  for (uint16_t bits : {8, 24}) {
    std::vector<uint8_t> bitmap = MakeBitmap(320, 192, bits);
    MemoryStream stream;
    ASSERT_TRUE(Load(bitmap, stream)) << bits;
    const uint8_t* start = stream.CurrentData() - stream.Position();
    EXPECT_EQ(start + 14, info_);
    EXPECT_EQ(start + (bits == 8 ? 14 + 40 + 1024 : 14 + 40), bits_);
    EXPECT_EQ(320, PictureWidth(info_));
    EXPECT_EQ(192, PictureHeight(info_));
    EXPECT_EQ(bitmap.back(), start[stream.Size() - 1]);
    archive_.Close();
  }
}

TEST_F(PictureTest, TopDownRowsAndAShortPaletteAreFine) {
  std::vector<uint8_t> topDown = MakeBitmap(64, -64, 24);
  MemoryStream first;
  EXPECT_TRUE(Load(topDown, first));
  archive_.Close();

  // 16 colours used by an 8-bit picture whose rows start right after them.
  std::vector<uint8_t> small = MakeBitmap(4, 2, 8);
  Poke32(small, testing::kInfoAt + 32, 16);
  small.erase(small.begin() + 14 + 40 + 64, small.begin() + 14 + 40 + 1024);
  Poke32(small, testing::kOffBitsField, 14 + 40 + 64);
  MemoryStream second;
  EXPECT_TRUE(Load(small, second));
}

TEST_F(PictureTest, RefusesWhatWouldBeReadOutsideTheEntry) {
  struct Case {
    const char* what;
    size_t offset;  // field to bend, or SIZE_MAX to cut the file instead
    uint32_t value;
  };
  const Case cases[] = {
      {"rows start past the end", testing::kOffBitsField, 1u << 30},
      {"rows start inside the file header", testing::kOffBitsField, 4},
      {"one row too many", testing::kInfoAt + 8, 193},
      {"rows too wide", testing::kInfoAt + 4, 321},
      {"header size past the end", testing::kInfoAt, 1u << 20},
      {"header size too small", testing::kInfoAt, 12},
      {"zero width", testing::kInfoAt + 4, 0},
      {"zero height", testing::kInfoAt + 8, 0},
      {"huge width", testing::kInfoAt + 4, 0x7FFFFFFF},
      {"compressed rows", testing::kInfoAt + 16, 1},
      {"odd pixel size", testing::kInfoAt + 14, 7},
      {"more colours than the pixels can name", testing::kInfoAt + 32, 257},
      {"file cut inside the rows", SIZE_MAX, 100},
      {"file cut inside the header", SIZE_MAX, 30},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bitmap = MakeBitmap(320, 192, 8);
    if (c.offset == SIZE_MAX) {
      bitmap.resize(c.value < 60 ? c.value : bitmap.size() - c.value);
    } else if (c.offset == testing::kInfoAt + 14) {
      bitmap[c.offset] = uint8_t(c.value);
    } else {
      Poke32(bitmap, c.offset, c.value);
    }
    MemoryStream stream;
    EXPECT_FALSE(Load(bitmap, stream)) << c.what;
    archive_.Close();
  }
}

TEST_F(PictureTest, AMissingEntryFails) {
  resources_.Add(135, testing::BuildArchive({}));
  ASSERT_TRUE(archive_.Open(files_, resources_, 135));
  MemoryStream stream;
  EXPECT_FALSE(LoadPicture(stream, archive_, "setup256.bmp", &info_, &bits_));
}

}  // namespace
}  // namespace setup
