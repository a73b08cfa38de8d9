// A Windows program's resources as a flat list, read from and written into the resource section
// of its image. The section holds a tree three levels deep (type, name, language) whose leaves
// point at the data by relative virtual address:
//
//   directory   16 bytes: characteristics, time stamp, version (all 0 when written here),
//               count of named entries (u16), count of id entries (u16), then the entries
//   entry        8 bytes: name (u32: high bit set = offset of a name string, else an id in the low
//               16 bits), target (u32: high bit set = offset of a subdirectory, else of a leaf)
//   name string  u16 length in UTF-16 units, then the units, no NUL
//   leaf        16 bytes: data RVA, data size, code page, 0
//
// Offsets are from the start of the tree. Named entries come first, in the order in which Windows
// searches them (case-insensitive), then ids in ascending order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zarc {

// A resource's type or name: a numeric id, or a text when text is not empty.
struct ResourceKey {
  uint16_t id = 0;
  std::u16string text;
};
bool operator==(const ResourceKey& a, const ResourceKey& b);
// The tree's order: texts first, compared as Windows does when it searches, then ids.
bool operator<(const ResourceKey& a, const ResourceKey& b);
ResourceKey ResourceId(uint16_t id);
ResourceKey ResourceText(const char* ascii);

struct Resource {
  ResourceKey type;
  ResourceKey name;
  uint16_t language = 0;
  uint32_t codePage = 0;
  std::vector<uint8_t> data;
};

// Standard resource types.
constexpr uint16_t kIconType = 3;
constexpr uint16_t kDialogType = 5;
constexpr uint16_t kIconGroupType = 14;
constexpr uint16_t kVersionType = 16;

// Where the image's bytes at an RVA are: null when [rva, rva + size) is not file-backed.
using ImageBytesAt = std::function<const uint8_t*(uint32_t rva, uint32_t size)>;

// Reads the tree at rootRva, which spans treeSize bytes, copying at most maxDataBytes of resource
// data and name text in all (the file's size: resources do not share their bytes), each name
// counted once as read and once for every resource that holds it. False when it is malformed,
// points outside the image, reaches a directory twice, or has more entries than 65535 resources
// need; *why then says how.
bool ReadResources(const ImageBytesAt& at, uint32_t rootRva, uint32_t treeSize,
                   uint64_t maxDataBytes, std::vector<Resource>* resources, std::string* why);

// Sorts resources into the tree's order; a later resource replaces an earlier one of the same
// type, name and language.
void SortResources(std::vector<Resource>* resources);

// Appends to *section the bytes of a tree holding sorted resources, for a section loaded at
// sectionRva. False, with nothing appended, when it would not fit the 32-bit offsets.
bool BuildResourceSection(const std::vector<Resource>& resources, uint32_t sectionRva,
                          std::vector<uint8_t>* section);

}  // namespace zarc
