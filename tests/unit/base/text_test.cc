#include "base/text.h"

#include <gtest/gtest.h>

#include <cstring>

#include "base/byte_order.h"
#include "base/text_buffer.h"

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

// On Windows this formats through the system's C library, whose own _snprintf neither ends a cut
// text with a NUL nor returns its length.
TEST(Text, FormatTextCutsWithANulAndGivesTheFullLength) {
  char field[6] = "?????";
  EXPECT_EQ(11, FormatText(field, sizeof field, "%s-%d%%", "abcdef", 100));
  EXPECT_STREQ("abcde", field);
  char line[32];
  EXPECT_EQ(15, FormatText(line, sizeof line, "[%.2f MByte]", 1023.996));
  EXPECT_STREQ("[1024.00 MByte]", line);
  // The edges of the system's own: a text of exactly the capacity, one that just fits, none.
  char four[4] = "???";
  EXPECT_EQ(4, FormatText(four, sizeof four, "%s", "abcd"));
  EXPECT_STREQ("abc", four);
  EXPECT_EQ(3, FormatText(four, sizeof four, "%d", 123));
  EXPECT_STREQ("123", four);
  EXPECT_EQ(5, FormatText(four, 0, "%s", "abcde"));
  EXPECT_STREQ("123", four);
}

TEST(Text, BoundedLengthStopsAtTheNulOrTheLimit) {
  const char text[] = {'a', 'b', 'c'};  // no NUL: nothing past the limit may be read
  EXPECT_EQ(3u, BoundedLength(text, sizeof text));
  EXPECT_EQ(2u, BoundedLength("ab", 10));
  EXPECT_EQ(0u, BoundedLength("", 10));
  EXPECT_EQ(0u, BoundedLength(text, 0));
}

TEST(TextBuffer, KeepsItsTextAndItsNulAsItGrows) {
  TextBuffer<wchar_t> text;
  EXPECT_TRUE(text.empty());
  EXPECT_EQ(L'\0', text.c_str()[0]);
  std::wstring expected;
  for (int i = 0; i < 500; ++i) {
    const wchar_t piece[] = {wchar_t(L'a' + i % 26), L'\x3042'};
    ASSERT_TRUE(text.Append(piece, 2));
    expected.append(piece, 2);
  }
  EXPECT_EQ(expected, text.c_str());
  EXPECT_EQ(1000u, text.size());
  ASSERT_TRUE(text.Resize(3));  // a shorter text ends where it is cut
  EXPECT_EQ(std::wstring(L"a\x3042" L"b"), text.c_str());
  ASSERT_TRUE(text.Resize(5));  // and grows again with zeros
  EXPECT_EQ(L'\0', text.c_str()[3]);
  EXPECT_EQ(5u, text.size());
  text.Clear();
  EXPECT_STREQ(L"", text.c_str());
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
