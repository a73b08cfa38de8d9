#include "base/text.h"

#include <gtest/gtest.h>

#include <cstring>

#include "base/byte_order.h"

namespace setup {
namespace {

TEST(Text, CopyTextRefusesWhatDoesNotFit) {
  char field[8];
  memset(field, '#', sizeof field);
  EXPECT_TRUE(CopyText(field, sizeof field, "1234567"));
  EXPECT_STREQ("1234567", field);
  EXPECT_FALSE(CopyText(field, sizeof field, "12345678"));
  EXPECT_STREQ("", field);
}

TEST(Text, LastSeparatorSkipsTrailBytes) {
  // "C:\ソフト\x": the 0x5C inside "ソ" (83 5C) is not a separator.
  const char path[] = "C:\\\x83\x5c\x83\x74\x83\x67\\x";
  EXPECT_EQ(9, LastSeparator(path));
  EXPECT_EQ(2, LastSeparator("C:\\\x83\x5c"));
  EXPECT_EQ(-1, LastSeparator("\x83\x5c"));
  EXPECT_EQ(-1, LastSeparator("plain"));
  EXPECT_EQ(1, LastSeparator("a\\\x83"));  // a lead byte at the very end does not read past the NUL
}

TEST(ByteOrder, RangeInsideNeverWraps) {
  EXPECT_TRUE(RangeInside(0, 10, 10));
  EXPECT_TRUE(RangeInside(10, 0, 10));
  EXPECT_FALSE(RangeInside(11, 0, 10));
  EXPECT_FALSE(RangeInside(4, 7, 10));
  EXPECT_FALSE(RangeInside(0xFFFFFFF0u, 0x20u, 0x10u));
  uint8_t bytes[4];
  StoreLE32(bytes, 0x12345678u);
  EXPECT_EQ(0x78, bytes[0]);
  EXPECT_EQ(0x12345678u, LoadLE32(bytes));
}

}  // namespace
}  // namespace setup
