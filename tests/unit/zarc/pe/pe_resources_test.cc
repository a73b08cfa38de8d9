// The resource tree: what a crafted one may cost to read.
#include <gtest/gtest.h>

#include "base/byte_order.h"
#include "zarc/pe/pe_resources.h"
#include "zarc/pe/test_program.h"

namespace zarc::testing {
namespace {

using setup::LoadLE32;

// A crafted tree must cost no more to read than its bytes: no directory walked twice, no more
// entries than 65535 resources need, no more data or name text copied than the file holds.
TEST(ZarcResourceTree, RefusesTreesThatWouldBeWalkedOrCopiedOverAndOver) {
  auto read = [](const std::vector<uint8_t>& tree, uint64_t maxData, std::string* why) {
    std::vector<Resource> resources;
    auto at = [&tree](uint32_t rva, uint32_t n) {
      return setup::RangeInside(rva, n, uint32_t(tree.size())) ? tree.data() + rva : nullptr;
    };
    return ReadResources(at, 0, uint32_t(tree.size()), maxData, &resources, why);
  };
  std::vector<uint8_t> tree;
  ASSERT_TRUE(BuildResourceSection(StubResources(true), 0, &tree));
  std::string why;
  // The three resources hold 12 bytes; the names "DATA" and "X" take 10 bytes as read and 10
  // more as held by their resource.
  EXPECT_TRUE(read(tree, 32, &why)) << why;
  EXPECT_FALSE(read(tree, 31, &why));
  EXPECT_NE(std::string::npos, why.find("more data than the file holds")) << why;
  EXPECT_FALSE(read(tree, 9, &why));
  EXPECT_NE(std::string::npos, why.find("more name text than the file holds")) << why;

  // 64 types that all name one string of 65,535 units, each with one empty resource: 136 KB of
  // tree whose names alone would take 16 MB.
  constexpr uint32_t kTypes = 64;
  const uint32_t types = 16 + 8 * kTypes, names = types + 24 * kTypes, leaves = names + 24 * kTypes;
  const uint32_t text = leaves + 16 * kTypes;
  std::vector<uint8_t> named(text + 2 + 2 * 0xFFFF, 'a');
  std::fill(named.begin(), named.begin() + text, 0);
  setup::StoreLE16(&named[12], kTypes);
  setup::StoreLE16(&named[text], 0xFFFF);
  for (uint32_t i = 0; i < kTypes; ++i) {
    setup::StoreLE32(&named[16 + 8 * i], text | 0x80000000u);
    setup::StoreLE32(&named[16 + 8 * i + 4], (types + 24 * i) | 0x80000000u);
    setup::StoreLE16(&named[types + 24 * i + 14], 1);
    setup::StoreLE32(&named[types + 24 * i + 16], 1);
    setup::StoreLE32(&named[types + 24 * i + 20], (names + 24 * i) | 0x80000000u);
    setup::StoreLE16(&named[names + 24 * i + 14], 1);
    setup::StoreLE32(&named[names + 24 * i + 16], 0x409);
    setup::StoreLE32(&named[names + 24 * i + 20], leaves + 16 * i);
  }
  EXPECT_FALSE(read(named, named.size(), &why));
  EXPECT_NE(std::string::npos, why.find("more name text than the file holds")) << why;
  EXPECT_TRUE(read(named, uint64_t(kTypes) * 4 * 0xFFFF, &why)) << why;  // each name read and held

  std::vector<uint8_t> shared = tree;  // the second type points at the first one's names
  setup::StoreLE32(&shared[16 + 8 + 4], LoadLE32(&shared[16 + 4]));
  EXPECT_FALSE(read(shared, 32, &why));
  EXPECT_NE(std::string::npos, why.find("directory is shared")) << why;

  // Two types of 131,070 names each, the first type's names all empty directories.
  constexpr uint32_t kNames = 2 * 0xFFFF;
  const uint32_t first = 32, second = first + 16 + 8 * kNames, empties = second + 16 + 8 * kNames;
  std::vector<uint8_t> wide(empties + 16 * kNames, 0);
  setup::StoreLE16(&wide[14], 2);
  setup::StoreLE32(&wide[16 + 4], first | 0x80000000u);
  setup::StoreLE32(&wide[24], 1);
  setup::StoreLE32(&wide[24 + 4], second | 0x80000000u);
  for (uint32_t type : {first, second}) {
    setup::StoreLE16(&wide[type + 12], 0xFFFF);
    setup::StoreLE16(&wide[type + 14], 0xFFFF);
    for (uint32_t i = 0; i < kNames; ++i) {
      setup::StoreLE32(&wide[type + 16 + 8 * i + 4], (empties + 16 * i) | 0x80000000u);
    }
  }
  EXPECT_FALSE(read(wide, 0, &why));
  EXPECT_NE(std::string::npos, why.find("too many entries")) << why;
}

}  // namespace
}  // namespace zarc::testing
