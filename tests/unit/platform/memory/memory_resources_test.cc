#include "platform/memory/memory_resources.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace setup {
namespace {

std::string Found(MemoryResources& resources, const char* name) {
  const uint8_t* data = nullptr;
  uint32_t size = 0;
  return resources.FindPackage(name, &data, &size) ? std::string(data, data + size) : "<none>";
}

TEST(MemoryResources, FindsByNameOrIdAndKeepsEarlierBytesValid) {
  MemoryResources resources;
  resources.Add("files.zarc", {'o', 'l', 'd'});
  resources.Add("\x83\x61", {'x'});  // trail byte 'a': not a letter, so no case to ignore
  const uint8_t* first = nullptr;
  uint32_t size = 0;
  ASSERT_TRUE(resources.FindPackage("FILES.ZARC", &first, &size));
  for (int id = 0; id < 100; ++id) resources.Add(id, std::vector<uint8_t>(1000, uint8_t(id)));
  resources.Add("files.zarc", {'n', 'e', 'w'});

  EXPECT_EQ(std::string(first, first + size), "old");
  EXPECT_EQ(Found(resources, "Files.Zarc"), "new");
  EXPECT_EQ(Found(resources, "files.zar"), "<none>");
  EXPECT_EQ(Found(resources, "\x83\x41"), "<none>");
  const uint8_t* data = nullptr;
  ASSERT_TRUE(resources.FindPackage(42, &data, &size));
  EXPECT_EQ(std::vector<uint8_t>(data, data + size), std::vector<uint8_t>(1000, 42));
  EXPECT_FALSE(resources.FindPackage(100, &data, &size));
}

}  // namespace
}  // namespace setup
