// UTF-8 texts made into the program's code page 932 with CR LF: where malformed bytes begin, how
// line breaks are counted, and where a refusal points.
#include "zarc/pack/text_conversion.h"

#include <gtest/gtest.h>

namespace zarc {
namespace {

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

// The converted text, or the refusal in words.
std::string Converted(const std::string& utf8) {
  std::vector<uint8_t> cp932 = Bytes("untouched");
  TextRefusal refusal;
  if (ConvertUtf8Text(Bytes(utf8), &cp932, &refusal)) return std::string(cp932.begin(), cp932.end());
  EXPECT_EQ(Bytes("untouched"), cp932) << "a refused text leaves the output alone";
  return DescribeRefusal(refusal);
}

TEST(ZarcTextConversion, MeasuresOnlyWellFormedCharacters) {
  const struct {
    const char* bytes;
    size_t length;
  } cases[] = {
      {"a", 1},
      {"\xc2\x80", 2},          {"\xc1\xbf", 0},          // overlong 2-byte form
      {"\xe0\xa0\x80", 3},      {"\xe0\x9f\xbf", 0},      // overlong 3-byte form
      {"\xed\x9f\xbf", 3},      {"\xed\xa0\x80", 0},      // a surrogate
      {"\xf0\x90\x80\x80", 4},  {"\xf0\x8f\xbf\xbf", 0},  // overlong 4-byte form
      {"\xf4\x8f\xbf\xbf", 4},  {"\xf4\x90\x80\x80", 0},  // past U+10FFFF
      {"\xf5\x80\x80\x80", 0},  {"\x80", 0},              // no lead byte
      {"\xe3\x81", 0},          {"\xe3\x81\x41", 0},      // cut short, or a non-continuation
      {"\xf0\x90\x80\x41", 0},
  };
  for (const auto& c : cases) {
    const std::string bytes = c.bytes;
    EXPECT_EQ(c.length, Utf8CharacterLength(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()))
        << ::testing::PrintToString(bytes);
  }
  EXPECT_EQ(0u, Utf8CharacterLength(reinterpret_cast<const uint8_t*>("a"), 0));
}

TEST(ZarcTextConversion, EveryLineEndsInCrLfAndTheMarkGoes) {
  EXPECT_EQ("", Converted(""));
  EXPECT_EQ("", Converted("\xef\xbb\xbf"));
  EXPECT_EQ("a\r\n", Converted("\xef\xbb\xbf" "a"));
  EXPECT_EQ("a\r\n", Converted("a\n"));
  EXPECT_EQ("a\r\nb\r\n\r\nc\r\n\r\n", Converted("a\rb\r\n\nc\n\r"));
  EXPECT_EQ("\x95\x5c\x81\x60\r\n", Converted("\xe8\xa1\xa8\xef\xbd\x9e"));  // 表～
}

TEST(ZarcTextConversion, ARefusalCountsLinesByEveryBreakAndColumnsByCharacter) {
  EXPECT_EQ("line 3, column 3: \"\xc3\xa9\" (U+00E9) has no code page 932 form",
            Converted("a\rb\r\n\xe8\xa1\xa8x\xc3\xa9"));
  EXPECT_EQ("line 1, column 2: a NUL (U+0000) is no text", Converted(std::string("a\0b", 3)));
  EXPECT_EQ("line 2, column 1: \"\xf0\x9f\x98\x80\" (U+1F600) has no code page 932 form",
            Converted("ok\n\xf0\x9f\x98\x80"));
  EXPECT_EQ("line 1, column 3: the bytes there are not UTF-8", Converted("ab\xed\xa0\x80"));
}

TEST(ZarcTextConversion, TellsTextThatWouldShowGarbled) {
  int line = 0;
  EXPECT_FALSE(ReadsAsUtf8(Bytes("\xef\xbb\xbfplain\n"), &line));
  EXPECT_FALSE(ReadsAsUtf8(Bytes("\x95\x5c\n"), &line));  // code page 932 already
  ASSERT_TRUE(ReadsAsUtf8(Bytes("a\rb\r\nc\n\xe8\xa1\xa8\n\xc3\xa9"), &line));
  EXPECT_EQ(4, line);
  EXPECT_TRUE(IsProgramText("setup.txt"));
  EXPECT_FALSE(IsProgramText("SETUP.TXT"));
}

}  // namespace
}  // namespace zarc
