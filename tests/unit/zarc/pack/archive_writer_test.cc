// The pieces under zarc's commands whose limits no small file can reach.
#include <gtest/gtest.h>

#include "zarc/pack/archive_writer.h"

namespace zarc {
namespace {

TEST(ZarcLayout, ArchivesStayUnder4GiB) {
  std::vector<uint32_t> offsets;
  uint64_t size = 0;
  size_t tooFar = 99;
  const uint64_t index = 8 + 64 * 3;
  // Exactly the largest image the reader can load, with an external entry in between.
  ASSERT_TRUE(LayOutArchive({1000, 0, 0xFFFFFFFFu - index - 1000}, &offsets, &size, &tooFar));
  EXPECT_EQ(0xFFFFFFFFu, size);
  EXPECT_EQ((std::vector<uint32_t>{uint32_t(index), 0, uint32_t(index + 1000)}), offsets);
  EXPECT_FALSE(LayOutArchive({1000, 0, 0xFFFFFFFFu - index - 999}, &offsets, &size, &tooFar));
  EXPECT_EQ(2u, tooFar);
  EXPECT_FALSE(LayOutArchive({0x80000000u, 0x80000000u, 1}, &offsets, &size, &tooFar));
  EXPECT_EQ(1u, tooFar);
}

}  // namespace
}  // namespace zarc
