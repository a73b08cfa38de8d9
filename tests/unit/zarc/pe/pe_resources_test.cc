// The resource tree: what a crafted one may cost to read.
#include <gtest/gtest.h>

#include "base/byte_order.h"
#include "zarc/pe/pe_resources.h"
#include "zarc/pe/test_program.h"

namespace zarc::testing {
namespace {

using setup::LoadLE32;

// A crafted tree must cost no more to read than its bytes: no directory walked twice, no more
// entries than 65535 resources need, no more data copied than the file holds.
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
  EXPECT_TRUE(read(tree, 12, &why)) << why;  // the three resources hold 12 bytes
  EXPECT_FALSE(read(tree, 11, &why));
  EXPECT_NE(std::string::npos, why.find("more data than the file holds")) << why;

  std::vector<uint8_t> shared = tree;  // the second type points at the first one's names
  setup::StoreLE32(&shared[16 + 8 + 4], LoadLE32(&shared[16 + 4]));
  EXPECT_FALSE(read(shared, 12, &why));
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
