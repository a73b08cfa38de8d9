#include "zarc/pe/test_program.h"

#include <gtest/gtest.h>

#include <cstring>

#include "base/byte_order.h"

namespace zarc::testing {

void Put32(std::string* bytes, size_t at, uint32_t v) {
  setup::StoreLE32(reinterpret_cast<uint8_t*>(&(*bytes)[at]), v);
}
void Put16(std::string* bytes, size_t at, uint16_t v) {
  (*bytes)[at] = char(v);
  (*bytes)[at + 1] = char(v >> 8);
}
uint32_t Get32(const std::string& bytes, size_t at) {
  return setup::LoadLE32(reinterpret_cast<const uint8_t*>(&bytes[at]));
}

std::vector<Resource> StubResources(bool mainWindow) {
  std::vector<Resource> resources{
      {ResourceId(kDialogType), ResourceId(mainWindow ? 129 : 130), 0x409, 0, {'d', 'l', 'g'}},
      {ResourceId(24), ResourceId(1), 0x409, 0, {'<', 'm', '/', '>'}},
      {ResourceText("DATA"), ResourceText("X"), 0x411, 0, {'n', 'a', 'm', 'e', 'd'}}};
  SortResources(&resources);
  return resources;
}

StubShape Changed(void (*change)(StubShape&)) {
  StubShape shape;
  change(shape);
  return shape;
}

std::string MakeStub(const StubShape& shape) {
  std::vector<uint8_t> tree;
  EXPECT_TRUE(BuildResourceSection(StubResources(shape.mainWindow), 0x2000, &tree));
  std::string file(0xA00, '\0');
  file.replace(0, 2, "MZ");
  Put32(&file, 0x3C, kPe);
  file.replace(kPe, 4, std::string("PE\0\0", 4));
  Put16(&file, kPe + 4, shape.machine);
  Put16(&file, kPe + 6, 3);
  Put16(&file, kPe + 20, 240);
  Put16(&file, kPe + 22, shape.flags);
  Put16(&file, kOptional, shape.magic);
  Put32(&file, kOptional + 32, 0x1000);
  Put32(&file, kOptional + 36, 0x200);
  Put32(&file, kOptional + 56, 0x4000);
  Put32(&file, kOptional + 60, 0x400);
  Put16(&file, kOptional + 68, shape.subsystem);
  Put32(&file, kOptional + 108, 16);
  Put32(&file, kOptional + 112 + 8 * 2, 0x2000);
  Put32(&file, kOptional + 112 + 8 * 2 + 4, shape.resourceTreeSize ? shape.resourceTreeSize : uint32_t(tree.size()));
  if (shape.relocationsLast) {
    Put32(&file, kOptional + 112 + 8 * 5, 0x3000);
    Put32(&file, kOptional + 112 + 8 * 5 + 4, 12);
  }
  const char* names[] = {".text", ".rsrc", shape.relocationsLast ? ".reloc" : ".data"};
  for (uint32_t i = 0; i < 3; ++i) {
    const size_t at = kSections + 40 * i;
    file.replace(at, strlen(names[i]), names[i]);
    Put32(&file, at + 8, i == 1 ? uint32_t(tree.size()) : 0x100);
    Put32(&file, at + 12, 0x1000 * (i + 1));
    Put32(&file, at + 16, 0x200);
    Put32(&file, at + 20, 0x400 + 0x200 * i);
  }
  file.replace(0x400, 6, "code!!");
  file.replace(0x600, tree.size(), std::string(tree.begin(), tree.end()));
  file.replace(0x600 + 0x200, 6, "relocs");
  file += shape.appended;
  if (!shape.signature.empty()) {
    Put32(&file, kOptional + 112 + 8 * 4, uint32_t(file.size()));
    Put32(&file, kOptional + 112 + 8 * 4 + 4, uint32_t(shape.signature.size()));
    file += shape.signature;
  }
  return file;
}

}  // namespace zarc::testing
