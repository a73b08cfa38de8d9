#include "base/cp932.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace setup {
namespace {

std::string Folded(std::string name) {
  FoldCp932Name(&name[0]);
  return name;
}

TEST(Cp932, NamesFoldEveryLetterWithACaseAndNothingElse) {
  EXPECT_EQ(Folded("setup.Txt"), "SETUP.TXT");
  // Full-width "ａｚ", Greek "αω", Cyrillic "аня" (both halves of its lower row), "ё".
  EXPECT_EQ(Folded("\x82\x81\x82\x9a\x83\xbf\x83\xd6\x84\x70\x84\x7e\x84\x91\x84\x76"),
            "\x82\x60\x82\x79\x83\x9f\x83\xb6\x84\x40\x84\x4e\x84\x60\x84\x46");
  // Trail bytes in the ASCII letter range ("ヂ" 83 61), hiragana, and the bytes just beside each
  // lower-case row stay as they are.
  for (const char* same : {"\x83\x61", "\x82\xa0", "\x82\x80\x82\x9b", "\x83\xbe\x83\xd7", "\x84\x6f\x84\x7f\x84\x92"}) {
    EXPECT_EQ(Folded(same), same);
  }
  EXPECT_EQ(Folded("a\x82"), "A\x82");  // a lead byte before the NUL reads no further
}

// The one step every walk over a name takes: a trail byte is never a character of its own, and a
// lead byte at the end, or before a NUL among counted bytes, counts alone.
TEST(Cp932, StepTakesALeadByteAndItsTrailAndNeverPassesTheEnd) {
  const char* text = "a\x83\x5c\\\x82";  // "a", "ソ" (83 5C), '\', and a cut character
  const char* p = text;
  std::vector<size_t> steps;
  for (; *p != '\0'; p = NextCp932Char(p)) steps.push_back(Cp932CharLength(p));
  EXPECT_EQ(steps, (std::vector<size_t>{1, 2, 1, 1}));
  EXPECT_EQ(p, text + 5);
  const uint8_t bytes[] = {0x83, 0x5c, 0x82, 0x00, 0x82, 0x60, 0x82};
  EXPECT_EQ(Cp932CharLength(bytes, 7), 2u);
  EXPECT_EQ(Cp932CharLength(bytes + 2, 5), 1u);  // before a NUL
  EXPECT_EQ(Cp932CharLength(bytes + 4, 3), 2u);
  EXPECT_EQ(Cp932CharLength(bytes + 6, 1), 1u);  // at the end of the bytes
  EXPECT_EQ(Cp932CharLength(bytes + 4, 1), 1u);
}

TEST(Cp932, SameNameComparesWholeCharacters) {
  EXPECT_TRUE(SameCp932Name("Files.zarc", "FILES.ZARC"));
  EXPECT_TRUE(SameCp932Name("\x82\x81", "\x82\x60"));
  EXPECT_FALSE(SameCp932Name("\x83\x41", "\x83\x61"));  // "ア" and "ヂ"
  EXPECT_FALSE(SameCp932Name("files", "files.zarc"));
  EXPECT_FALSE(SameCp932Name("files.zarc", "files"));
  EXPECT_FALSE(SameCp932Name("\x82", "\x82\x60"));
  EXPECT_TRUE(SameCp932Name("", ""));
}

}  // namespace
}  // namespace setup
