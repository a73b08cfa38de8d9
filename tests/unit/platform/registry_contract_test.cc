// What every Registry must do, run against the real implementation of the platform the tests are
// built for: the in-memory registry on the host, the Windows registry under Wine.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "base/text.h"
#include "platform/platform_fixture.h"

namespace setup::testing {
namespace {

// "ソフト" and "表" in code page 932: their trail bytes 0x5C look like separators.
const std::string kSoft = "\x83\x5c\x83\x74\x83\x67";
const std::string kTable = "\x95\x5c";

constexpr RegistryRoot kUsers = RegistryRoot::kUsers;
constexpr RegistryRoot kCurrentUser = RegistryRoot::kCurrentUser;
constexpr RegistryRoot kLocalMachine = RegistryRoot::kLocalMachine;

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

// The string value; "<absent>" when the query fails, and a complaint when it writes where it may not.
std::string Read(RegistryKey& key, const std::string& name, uint32_t capacity = kPathCapacity) {
  constexpr size_t kGuard = 8;
  const std::string untouched(capacity + kGuard, '~');
  std::string buffer = untouched;
  bool found = key.QueryString(name.c_str(), &buffer[0], capacity);
  if (buffer.compare(capacity, kGuard, untouched, 0, kGuard) != 0) return "<written past capacity>";
  if (!found) return buffer == untouched ? "<absent>" : "<absent, buffer touched>";
  return buffer.c_str();
}

std::string Number(RegistryKey& key, const std::string& name) {
  constexpr uint32_t kUntouched = 0x0BADF00D;
  uint32_t value = kUntouched;
  if (!key.QueryNumber(name.c_str(), &value)) return value == kUntouched ? "<absent>" : "<absent, value touched>";
  return std::to_string(value);
}

class RegistryContract : public ::testing::Test {
 protected:
  // root \ this test's own path \ relative, created as needed.
  std::unique_ptr<RegistryKey> Open(const std::string& relative = "", RegistryRoot root = kCurrentUser) {
    std::string path = area_.path(root);
    if (!relative.empty()) path += "\\" + relative;
    return registry_->OpenOrCreate(root, path.c_str());
  }

  TempRegistryPath area_;
  std::unique_ptr<Registry> registry_ = MakeRegistry();
};

TEST_F(RegistryContract, OpeningCreatesTheWholePathAndFindsItAgain) {
  for (RegistryRoot root : {kUsers, kCurrentUser, kLocalMachine}) {
    auto key = Open("maker\\product", root);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(Read(*key, "MainPath"), "<absent>");
    ASSERT_TRUE(key->SetString("MainPath", "C:\\Maker\\Product"));
    ASSERT_TRUE(key->SetNumber("Version", 5));
    key.reset();

    key = Open("maker\\product\\", root);  // a trailing separator names the same key
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(Read(*key, "MainPath"), "C:\\Maker\\Product");
    EXPECT_EQ(Number(*key, "Version"), "5");

    // The empty path is the root itself, and "product" was made inside a new "maker".
    auto rootKey = registry_->OpenOrCreate(root, "");
    ASSERT_NE(rootKey, nullptr);
    std::string maker = area_.path(root) + "\\maker";
    EXPECT_FALSE(rootKey->DeleteSubkey(maker.c_str()));
    EXPECT_TRUE(rootKey->DeleteSubkey((maker + "\\product").c_str()));
    EXPECT_TRUE(rootKey->DeleteSubkey(maker.c_str()));
  }
}

TEST_F(RegistryContract, StringsAndNumbersRoundTripExactly) {
  auto key = Open(kSoft);
  ASSERT_NE(key, nullptr);
  const std::string texts[] = {
      "",
      std::string(259, 'x'),
      Repeat(kTable, 129) + "x",  // 259 bytes, every other one a 0x5C trail byte
      "C:\\Program Files\\" + kSoft + "\\" + kTable + ".exe",
      "\xb1\xb2\xb3 half-width",
  };
  for (const std::string& text : texts) {
    ASSERT_TRUE(key->SetString("text", text.c_str())) << text;
    EXPECT_EQ(Read(*key, "text"), text);
  }
  ASSERT_TRUE(key->SetString(kTable.c_str(), "table"));
  ASSERT_TRUE(key->SetString(kSoft.c_str(), "soft"));
  EXPECT_EQ(Read(*key, kTable), "table");
  EXPECT_EQ(Read(*key, kSoft), "soft");

  for (uint32_t number : {0u, 5u, 0xFFFFFFFFu}) {
    ASSERT_TRUE(key->SetNumber("number", number));
    EXPECT_EQ(Number(*key, "number"), std::to_string(number));
  }
}

TEST_F(RegistryContract, WhatIsAbsentOrTooLongLeavesTheBufferUntouched) {
  auto key = Open();
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(Read(*key, "missing"), "<absent>");
  EXPECT_EQ(Number(*key, "missing"), "<absent>");

  // What counts is code page 932 bytes with the NUL: 130 double-byte characters are 260 bytes.
  for (const std::string& text : {std::string(260, 'y'), Repeat(kTable, 130)}) {
    ASSERT_TRUE(key->SetString("long", text.c_str()));
    EXPECT_EQ(Read(*key, "long"), "<absent>");
    EXPECT_EQ(Read(*key, "long", 261), text);
  }
  EXPECT_EQ(Read(*key, "long", 0), "<absent>");
}

TEST_F(RegistryContract, SettingReplacesAValueAndItsType) {
  auto key = Open();
  ASSERT_NE(key, nullptr);
  ASSERT_TRUE(key->SetNumber("number", 5));
  ASSERT_TRUE(key->SetString("text", "5"));
  EXPECT_EQ(Read(*key, "number"), "<absent>");
  EXPECT_EQ(Number(*key, "text"), "<absent>");

  ASSERT_TRUE(key->SetString("number", "now text"));
  EXPECT_EQ(Read(*key, "number"), "now text");
  EXPECT_EQ(Number(*key, "number"), "<absent>");
  ASSERT_TRUE(key->SetString("text", "a much longer text than before"));
  ASSERT_TRUE(key->SetString("text", "short"));
  EXPECT_EQ(Read(*key, "text"), "short");
}

TEST_F(RegistryContract, DeleteSubkeyRemovesOnlyALeaf) {
  auto maker = Open("maker");
  auto product = Open("maker\\product");
  auto base = Open();
  ASSERT_TRUE(maker && product && base);
  ASSERT_TRUE(maker->SetString("kept", "yes"));
  ASSERT_TRUE(product->SetNumber("Version", 5));

  EXPECT_FALSE(base->DeleteSubkey("maker"));  // it has a subkey
  EXPECT_FALSE(base->DeleteSubkey("maker\\missing"));
  EXPECT_FALSE(product->DeleteSubkey(""));  // never the key itself, even a leaf
  EXPECT_TRUE(base->DeleteSubkey("maker\\product"));
  EXPECT_FALSE(base->DeleteSubkey("maker\\product"));
  EXPECT_EQ(Read(*maker, "kept"), "yes");

  // Made again, it is a new key: the values went with the old one.
  auto again = Open("maker\\product");
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(Number(*again, "Version"), "<absent>");
}

TEST_F(RegistryContract, ATrailByte5CIsPartOfTheKeyName) {
  ASSERT_NE(Open("folder\\" + kSoft + "\\" + kTable), nullptr);
  auto base = Open();
  ASSERT_NE(base, nullptr);
  EXPECT_TRUE(base->DeleteSubkey(("folder\\" + kSoft + "\\" + kTable).c_str()));
  EXPECT_TRUE(base->DeleteSubkey(("folder\\" + kSoft).c_str()));
  EXPECT_TRUE(base->DeleteSubkey("folder"));  // nothing was left of a "ソフト" cut in two
}

TEST_F(RegistryContract, NamesIgnoreTheCaseOfLettersButNotOfTrailBytes) {
  auto key = Open("Maker\\Product");
  ASSERT_NE(key, nullptr);
  ASSERT_TRUE(key->SetString("ExecutePath", "C:\\x"));
  auto same = Open("MAKER\\product");
  ASSERT_NE(same, nullptr);
  EXPECT_EQ(Read(*same, "EXECUTEPATH"), "C:\\x");
  ASSERT_TRUE(same->SetString("executepath", "C:\\y"));
  EXPECT_EQ(Read(*key, "ExecutePath"), "C:\\y");

  // "ア" (83 41) and "ヂ" (83 61): trail bytes in the letter range are not letters.
  const std::string upper = "\x83\x41", lower = "\x83\x61";
  auto first = Open(upper);
  ASSERT_NE(first, nullptr);
  ASSERT_TRUE(first->SetString(upper.c_str(), "1"));
  ASSERT_TRUE(first->SetString(lower.c_str(), "2"));
  EXPECT_EQ(Read(*first, upper), "1");
  EXPECT_EQ(Read(*first, lower), "2");
  auto second = Open(lower);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(Read(*second, upper), "<absent>");

  // Full-width "ａＢ", Greek "αΒ" and Cyrillic "яЁ" have case too: the other case names the same.
  auto letters = Open("\x82\x81\x82\x61\x83\xbf\x83\xa0\x84\x91\x84\x46");
  ASSERT_NE(letters, nullptr);
  ASSERT_TRUE(letters->SetString("\x82\x81", "3"));
  auto folded = Open("\x82\x60\x82\x82\x83\x9f\x83\xc0\x84\x60\x84\x76");
  ASSERT_NE(folded, nullptr);
  EXPECT_EQ(Read(*folded, "\x82\x60"), "3");

  auto base = Open();
  ASSERT_NE(base, nullptr);
  EXPECT_TRUE(base->DeleteSubkey("\x82\x60\x82\x82\x83\x9f\x83\xc0\x84\x60\x84\x76"));
  EXPECT_TRUE(base->DeleteSubkey("mAKER\\PRODUCT"));
  EXPECT_TRUE(base->DeleteSubkey("maker"));
}

TEST_F(RegistryContract, KeysStaySafeWhenTheirKeyOrRegistryGoes) {
  auto held = Open("held");
  auto base = Open();
  ASSERT_TRUE(held && base);
  ASSERT_TRUE(held->SetString("v", "x"));
  ASSERT_TRUE(base->DeleteSubkey("held"));
  EXPECT_EQ(Read(*held, "v"), "<absent>");
  EXPECT_FALSE(held->SetString("v", "y"));
  EXPECT_FALSE(held->SetNumber("n", 1));
  EXPECT_EQ(Number(*held, "n"), "<absent>");
  EXPECT_FALSE(held->DeleteSubkey("x"));
  auto reopened = Open("held");
  ASSERT_NE(reopened, nullptr);
  EXPECT_EQ(Read(*reopened, "v"), "<absent>");

  registry_.reset();
  EXPECT_TRUE(reopened->SetString("v", "z"));
  EXPECT_EQ(Read(*reopened, "v"), "z");
}

TEST_F(RegistryContract, RefusesWhatWindowsCannotName) {
  EXPECT_EQ(registry_->OpenOrCreate(kCurrentUser, "\\Software"), nullptr);
  EXPECT_EQ(Open("cut\x83"), nullptr);
  EXPECT_EQ(Open("bad\x83 trail"), nullptr);
  auto key = Open("leaf");
  auto base = Open();
  ASSERT_TRUE(key && base);
  EXPECT_FALSE(key->SetString("name\x83", "x"));
  EXPECT_FALSE(key->SetString("name", "x\x83"));
  EXPECT_EQ(Read(*key, "name"), "<absent>");
  EXPECT_FALSE(base->DeleteSubkey("\\leaf"));
  EXPECT_TRUE(base->DeleteSubkey("leaf"));
}

}  // namespace
}  // namespace setup::testing
