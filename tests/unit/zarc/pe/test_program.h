// Windows programs laid out as the linker lays out the setup program's stub (.text, .rsrc,
// .reloc last), for the tests of zarc setup and of the program image code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "zarc/pe/pe_resources.h"

namespace zarc::testing {

struct StubShape {
  uint16_t machine = 0x8664;
  uint16_t magic = 0x20B;
  uint16_t flags = 0x0022;  // executable, large address aware
  uint16_t subsystem = 2;
  bool mainWindow = true;
  bool relocationsLast = true;  // else the section after the resources is plain data
  uint32_t resourceTreeSize = 0;  // 0: the tree's own size
  std::string appended;
  std::string signature;
};

void Put32(std::string* bytes, size_t at, uint32_t v);
void Put16(std::string* bytes, size_t at, uint16_t v);
uint32_t Get32(const std::string& bytes, size_t at);

constexpr size_t kPe = 0x40, kOptional = kPe + 24, kSections = kOptional + 240;

// A dialog (129, the main window, or 130), a manifest and a resource with a named type and name:
// 12 bytes of data in all.
std::vector<Resource> StubResources(bool mainWindow);

// A stub of the usual shape with one thing changed.
StubShape Changed(void (*change)(StubShape&));

std::string MakeStub(const StubShape& shape);

}  // namespace zarc::testing
