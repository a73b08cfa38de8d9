// The in-memory registry's test helpers, which other tests rely on to see what was written.
#include <gtest/gtest.h>

#include "platform/memory/memory_registry.h"

namespace setup::testing {
namespace {

TEST(MemoryRegistry, DumpAndKeyExistsShowTheTreeWithoutChangingIt) {
  MemoryRegistry registry;
  auto product = registry.OpenOrCreate(RegistryRoot::kUsers, ".Default\\Software\\Maker\\Product");
  auto other = registry.OpenOrCreate(RegistryRoot::kCurrentUser, "Software\\Other");
  ASSERT_TRUE(product && other);
  ASSERT_TRUE(product->SetNumber("Version", 5));
  ASSERT_TRUE(product->SetString("MainPath", "C:\\Maker"));
  ASSERT_TRUE(product->SetString("MAINPATH", "C:\\Product"));  // replaced, keeping its first name

  EXPECT_TRUE(registry.KeyExists(RegistryRoot::kUsers, ".default\\SOFTWARE\\maker"));
  EXPECT_TRUE(registry.KeyExists(RegistryRoot::kUsers, ""));
  EXPECT_FALSE(registry.KeyExists(RegistryRoot::kUsers, "Software\\Other"));  // the other root's
  EXPECT_FALSE(registry.KeyExists(RegistryRoot::kUsers, ".Default\\Missing"));
  EXPECT_FALSE(registry.KeyExists(RegistryRoot::kUsers, ".Default\\Missing"));
  EXPECT_FALSE(registry.KeyExists(RegistryRoot::kUsers, "\\.Default"));

  EXPECT_EQ(registry.Dump(RegistryRoot::kUsers),
            "[.Default]\n"
            "[.Default\\Software]\n"
            "[.Default\\Software\\Maker]\n"
            "[.Default\\Software\\Maker\\Product]\n"
            "\"MainPath\"=\"C:\\Product\"\n"
            "\"Version\"=dword:5\n");
  EXPECT_EQ(registry.Dump(RegistryRoot::kCurrentUser), "[Software]\n[Software\\Other]\n");
}

TEST(MemoryRegistry, FailOpensRefusesEveryOpenUntilCleared) {
  MemoryRegistry registry;
  registry.FailOpens(true);
  EXPECT_EQ(registry.OpenOrCreate(RegistryRoot::kUsers, "Key"), nullptr);
  EXPECT_EQ(registry.OpenOrCreate(RegistryRoot::kUsers, ""), nullptr);
  EXPECT_FALSE(registry.KeyExists(RegistryRoot::kUsers, "Key"));
  registry.FailOpens(false);
  EXPECT_NE(registry.OpenOrCreate(RegistryRoot::kUsers, "Key"), nullptr);
  EXPECT_TRUE(registry.KeyExists(RegistryRoot::kUsers, "Key"));
}

}  // namespace
}  // namespace setup::testing
