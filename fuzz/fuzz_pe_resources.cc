// A stub given to zarc setup: its resource tree, and the whole program image around it. Whatever
// is read is written back and read again, and must come back the same.
#include <string>
#include <vector>

#include "base/byte_order.h"
#include "fuzz_support.h"
#include "zarc/pe/pe_image.h"
#include "zarc/pe/pe_resources.h"

using namespace zarc;

namespace {

bool SameKey(const ResourceKey& a, const ResourceKey& b) { return a.id == b.id && a.text == b.text; }

bool SameResources(const std::vector<Resource>& a, const std::vector<Resource>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (!SameKey(a[i].type, b[i].type) || !SameKey(a[i].name, b[i].name) ||
        a[i].language != b[i].language || a[i].codePage != b[i].codePage || a[i].data != b[i].data) {
      return false;
    }
  }
  return true;
}

ImageBytesAt BytesOf(const uint8_t* bytes, size_t size, uint32_t base) {
  return [bytes, size, base](uint32_t rva, uint32_t n) -> const uint8_t* {
    if (rva < base || !setup::RangeInside(rva - base, n, uint32_t(size))) return nullptr;
    return bytes + (rva - base);
  };
}

// The input as a resource tree at RVA 0 whose data lies in the input too.
void TreeRoundTrip(const uint8_t* data, size_t size) {
  std::vector<Resource> first;
  std::string why;
  if (!ReadResources(BytesOf(data, size, 0), 0, uint32_t(size), size, &first, &why)) return;
  for (const Resource& r : first) setup::fuzz::ReadAll(r.data.data(), r.data.size());
  SortResources(&first);
  constexpr uint32_t kSectionRva = 0x3000;
  std::vector<uint8_t> section;
  FUZZ_CHECK(BuildResourceSection(first, kSectionRva, &section));
  std::vector<Resource> second;
  // Given the first read's bound: the rebuilt tree may be smaller than the input, yet every
  // resource still holds its type's and name's text, which the bound counts.
  FUZZ_CHECK(ReadResources(BytesOf(section.data(), section.size(), kSectionRva), kSectionRva,
                           uint32_t(section.size()), size, &second, &why));
  FUZZ_CHECK(SameResources(first, second));
}

// The input as a program: a stub zarc accepts is rebuilt with its own resources and read again.
void ImageRoundTrip(const uint8_t* data, size_t size) {
  ProgramImage image;
  std::string why;
  if (!image.Read(std::vector<uint8_t>(data, data + size), &why)) return;
  std::vector<Resource> sorted = image.resources();
  SortResources(&sorted);
  std::vector<uint8_t> rebuilt;
  if (!image.Rebuild(sorted, &rebuilt, &why)) return;
  ProgramImage again;
  // A program rebuilt smaller than its input (slack dropped from its resource section) may hold
  // more name text than its new size allows.
  if (!again.Read(rebuilt, &why)) {
    FUZZ_CHECK(rebuilt.size() < size && why.find("more name text") != std::string::npos);
    return;
  }
  FUZZ_CHECK(SameResources(sorted, again.resources()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size >= (1u << 24)) return 0;
  TreeRoundTrip(data, size);
  ImageRoundTrip(data, size);
  return 0;
}
