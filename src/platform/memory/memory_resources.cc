#include "platform/memory/memory_resources.h"

#include <utility>

#include "base/cp932.h"

namespace setup {

namespace {

}  // namespace

void MemoryResources::Add(const char* name, std::vector<uint8_t> bytes) {
  packages_.push_back(Package{true, name, 0, std::move(bytes)});
}

void MemoryResources::Add(int id, std::vector<uint8_t> bytes) {
  packages_.push_back(Package{false, std::string(), id, std::move(bytes)});
}

bool MemoryResources::FindPackage(const char* name, const uint8_t** data, uint32_t* size) {
  // Newest first: a later Add of the same name wins.
  for (auto it = packages_.rbegin(); it != packages_.rend(); ++it) {
    if (it->byName && SameCp932Name(it->name.c_str(), name)) return Found(*it, data, size);
  }
  return false;
}

bool MemoryResources::FindPackage(int id, const uint8_t** data, uint32_t* size) {
  for (auto it = packages_.rbegin(); it != packages_.rend(); ++it) {
    if (!it->byName && it->id == id) return Found(*it, data, size);
  }
  return false;
}

bool MemoryResources::Found(const Package& package, const uint8_t** data, uint32_t* size) const {
  if (package.bytes.size() > 0xFFFFFFFFu) return false;
  *data = package.bytes.data();
  *size = uint32_t(package.bytes.size());
  return true;
}

}  // namespace setup
