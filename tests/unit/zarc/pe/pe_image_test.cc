// A program read, written back with its own resources and read again keeps the same tree.
#include "zarc/pe/pe_image.h"

#include <gtest/gtest.h>

#include "zarc/pe/test_program.h"

namespace zarc::testing {
namespace {

bool SameResources(const std::vector<Resource>& a, const std::vector<Resource>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (!(a[i].type == b[i].type) || !(a[i].name == b[i].name) || a[i].language != b[i].language ||
        a[i].codePage != b[i].codePage || a[i].data != b[i].data) {
      return false;
    }
  }
  return true;
}

TEST(ZarcProgramImage, RebuildingWithItsOwnResourcesKeepsTheTree) {
  for (const StubShape& shape :
       {StubShape{}, Changed([](StubShape& s) { s.signature = std::string(16, 's'); }),
        Changed([](StubShape& s) { s.mainWindow = false; })}) {
    const std::string file = MakeStub(shape);
    ProgramImage image;
    std::string why;
    ASSERT_TRUE(image.Read(std::vector<uint8_t>(file.begin(), file.end()), &why)) << why;
    ASSERT_TRUE(SameResources(StubResources(shape.mainWindow), image.resources()));
    std::vector<uint8_t> rebuilt;
    ASSERT_TRUE(image.Rebuild(image.resources(), &rebuilt, &why)) << why;
    ProgramImage again;
    ASSERT_TRUE(again.Read(rebuilt, &why)) << why;
    EXPECT_TRUE(SameResources(image.resources(), again.resources()));
    EXPECT_FALSE(again.isSigned());
    // A second round changes nothing more: the first one left the layout it makes.
    std::vector<uint8_t> twice;
    ASSERT_TRUE(again.Rebuild(again.resources(), &twice, &why)) << why;
    EXPECT_TRUE(rebuilt == twice);
  }
}

}  // namespace
}  // namespace zarc::testing
