#include "zarc/pe/pe_resources.h"

#include <algorithm>
#include <cstddef>
#include <set>

#include "base/byte_order.h"

namespace zarc {

using setup::LoadLE16;
using setup::LoadLE32;
using setup::RangeInside;
using setup::StoreLE16;
using setup::StoreLE32;

namespace {

constexpr uint32_t kHighBit = 0x80000000u;
constexpr uint32_t kDirectorySize = 16;
constexpr uint32_t kEntrySize = 8;
constexpr uint32_t kLeafSize = 16;
// Far more than any program has; a tree with more is damaged (or shares subtrees to blow up).
// Also keeps every directory's count within its 16 bits.
constexpr size_t kMaxResources = 65535;
// A tree of that many resources has at most one type and one name entry per resource besides
// its language entry; a crafted one could make every walk far longer than its size suggests.
constexpr uint32_t kMaxEntriesVisited = 3 * kMaxResources;

// Windows compares resource names ignoring the case of ASCII letters.
char16_t Folded(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; }

bool TextLess(const std::u16string& a, const std::u16string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char16_t x, char16_t y) { return Folded(x) < Folded(y); });
}

// Reads the tree with every offset checked against the tree's span.
class TreeReader {
 public:
  TreeReader(const ImageBytesAt& at, uint32_t rootRva, uint32_t treeSize, uint64_t maxDataBytes,
             std::vector<Resource>* resources, std::string* why)
      : at_(at), root_(rootRva), size_(treeSize), dataLeft_(maxDataBytes), resources_(resources),
        why_(why) {}

  bool Directory(uint32_t offset, int level, Resource* path) {
    // A directory reached twice would be walked (and its resources copied) once per way there.
    if (!directories_.insert(offset).second) {
      return Fail("its resource tree is damaged (a directory is shared)");
    }
    const uint8_t* head = Bytes(offset, kDirectorySize);
    if (head == nullptr) return Fail("a resource directory lies outside the resource section");
    const uint32_t count = uint32_t(LoadLE16(head + 12)) + LoadLE16(head + 14);
    if (count > kMaxEntriesVisited - entriesVisited_) {
      return Fail("its resource tree is damaged (too many entries)");
    }
    entriesVisited_ += count;
    const uint8_t* entries = Bytes(offset + kDirectorySize, count * kEntrySize);
    if (entries == nullptr) return Fail("a resource directory lies outside the resource section");
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* entry = entries + i * kEntrySize;
      ResourceKey key;
      if (!Key(LoadLE32(entry), &key)) return false;
      const uint32_t target = LoadLE32(entry + 4);
      if (level == 0) path->type = key;
      if (level == 1) path->name = key;
      if (level == 2) path->language = key.id;
      const bool isDirectory = (target & kHighBit) != 0;
      if (isDirectory != (level < 2)) return Fail("its resource tree is not three levels deep");
      const bool ok = isDirectory ? Directory(target & ~kHighBit, level + 1, path) : Leaf(target, *path);
      if (!ok) return false;
    }
    return true;
  }

 private:
  const uint8_t* Bytes(uint32_t offset, uint32_t length) {
    if (!RangeInside(offset, length, size_)) return nullptr;
    return at_(root_ + offset, length);
  }

  bool Fail(const char* why) {
    *why_ = why;
    return false;
  }

  // Name text counts against the data bound too: many entries may point at one long string, and
  // every resource holds its own copy of its type's and name's text, so a small tree could
  // otherwise take gigabytes (or hours) to read.
  bool TakeNameText(uint64_t units) {
    if (2 * units > dataLeft_) {
      return Fail("its resource tree is damaged (more name text than the file holds)");
    }
    dataLeft_ -= 2 * units;
    return true;
  }

  bool Key(uint32_t field, ResourceKey* key) {
    if ((field & kHighBit) == 0) {
      key->id = uint16_t(field);
      return true;
    }
    const uint8_t* length = Bytes(field & ~kHighBit, 2);
    const uint8_t* units = length ? Bytes((field & ~kHighBit) + 2, 2u * LoadLE16(length)) : nullptr;
    if (units == nullptr) return Fail("a resource name lies outside the resource section");
    if (!TakeNameText(LoadLE16(length))) return false;
    for (uint32_t i = 0; i < LoadLE16(length); ++i) key->text += char16_t(LoadLE16(units + 2 * i));
    return true;
  }

  bool Leaf(uint32_t offset, const Resource& path) {
    if (resources_->size() == kMaxResources) return Fail("its resource tree is damaged (too many resources)");
    const uint8_t* leaf = Bytes(offset, kLeafSize);
    if (leaf == nullptr) return Fail("a resource entry lies outside the resource section");
    if (!TakeNameText(path.type.text.size() + path.name.text.size())) return false;
    Resource resource = path;
    const uint32_t size = LoadLE32(leaf + 4);
    resource.codePage = LoadLE32(leaf + 8);
    if (size > dataLeft_) return Fail("its resource tree is damaged (more data than the file holds)");
    dataLeft_ -= size;
    if (size > 0) {
      const uint8_t* data = at_(LoadLE32(leaf), size);
      if (data == nullptr) return Fail("the data of a resource lies outside the program's file");
      resource.data.assign(data, data + size);
    }
    resources_->push_back(std::move(resource));
    return true;
  }

  const ImageBytesAt& at_;
  uint32_t root_;
  uint32_t size_;
  uint64_t dataLeft_;
  std::vector<Resource>* resources_;
  std::string* why_;
  std::set<uint32_t> directories_;
  uint32_t entriesVisited_ = 0;
};

// The tree's shape: each type with its names, each name with its resources' indexes.
struct NameNode {
  const ResourceKey* key;
  std::vector<size_t> resources;
};
struct TypeNode {
  const ResourceKey* key;
  std::vector<NameNode> names;
};

std::vector<TypeNode> Shape(const std::vector<Resource>& resources) {
  std::vector<TypeNode> types;
  for (size_t i = 0; i < resources.size(); ++i) {
    const Resource& r = resources[i];
    if (types.empty() || !(*types.back().key == r.type)) types.push_back({&r.type, {}});
    std::vector<NameNode>& names = types.back().names;
    if (names.empty() || !(*names.back().key == r.name)) names.push_back({&r.name, {}});
    names.back().resources.push_back(i);
  }
  return types;
}

uint64_t Align(uint64_t value, uint64_t to) { return (value + to - 1) / to * to; }

// Writes one directory header of named + id entries at *at and returns where its entries start.
template <typename Node>
size_t PutDirectory(uint8_t* bytes, size_t at, const std::vector<Node>& children) {
  uint16_t named = 0;
  for (const Node& child : children) named += child.key->text.empty() ? 0 : 1;
  StoreLE16(bytes + at + 12, named);
  StoreLE16(bytes + at + 14, uint16_t(children.size() - named));
  return at + kDirectorySize;
}

// Where each part of the tree goes: directories breadth first, then the leaves, the name strings,
// and the data.
struct TreeLayout {
  std::vector<uint64_t> typeAt, nameAt;
  uint64_t leavesAt = 0;
  std::vector<uint64_t> textAt;  // per type, then per name, in tree order; 0 for ids
  std::vector<uint64_t> dataAt;
  uint64_t end = 0;
};

TreeLayout LayOutTree(const std::vector<TypeNode>& types, const std::vector<Resource>& resources) {
  TreeLayout layout;
  uint64_t& end = layout.end;
  end = kDirectorySize + kEntrySize * types.size();
  for (const TypeNode& type : types) {
    layout.typeAt.push_back(end);
    end += kDirectorySize + kEntrySize * type.names.size();
  }
  for (const TypeNode& type : types) {
    for (const NameNode& name : type.names) {
      layout.nameAt.push_back(end);
      end += kDirectorySize + kEntrySize * name.resources.size();
    }
  }
  layout.leavesAt = end;
  end += kLeafSize * resources.size();
  for (const TypeNode& type : types) {
    layout.textAt.push_back(type.key->text.empty() ? 0 : end);
    end += type.key->text.empty() ? 0 : 2 + 2 * type.key->text.size();
    for (const NameNode& name : type.names) {
      layout.textAt.push_back(name.key->text.empty() ? 0 : end);
      end += name.key->text.empty() ? 0 : 2 + 2 * name.key->text.size();
    }
  }
  for (const Resource& r : resources) {
    end = Align(end, 8);
    layout.dataAt.push_back(end);
    end += r.data.size();
  }
  return layout;
}

// An entry's key at bytes[at]: an id, or the offset of its name string, written at text.
void PutKey(uint8_t* bytes, size_t at, const ResourceKey& k, uint64_t text) {
  if (k.text.empty()) {
    StoreLE32(&bytes[at], k.id);
    return;
  }
  StoreLE32(&bytes[at], uint32_t(text) | kHighBit);
  StoreLE16(bytes + size_t(text), uint16_t(k.text.size()));
  for (size_t i = 0; i < k.text.size(); ++i) StoreLE16(bytes + size_t(text) + 2 + 2 * i, k.text[i]);
}

// The language directory of one name at bytes[at], with the leaves and data of its resources.
void PutLanguages(uint8_t* bytes, uint64_t at, const NameNode& name,
                  const std::vector<Resource>& resources, const TreeLayout& layout,
                  uint32_t sectionRva) {
  StoreLE16(bytes + size_t(at) + 14, uint16_t(name.resources.size()));
  size_t nameEntry = size_t(at) + kDirectorySize;
  for (size_t i : name.resources) {
    const uint64_t leaf = layout.leavesAt + kLeafSize * i;
    StoreLE32(&bytes[nameEntry], resources[i].language);
    StoreLE32(&bytes[nameEntry + 4], uint32_t(leaf));
    nameEntry += kEntrySize;
    StoreLE32(&bytes[size_t(leaf)], uint32_t(sectionRva + layout.dataAt[i]));
    StoreLE32(&bytes[size_t(leaf) + 4], uint32_t(resources[i].data.size()));
    StoreLE32(&bytes[size_t(leaf) + 8], resources[i].codePage);
    std::copy(resources[i].data.begin(), resources[i].data.end(), bytes + layout.dataAt[i]);
  }
}

}  // namespace


bool operator==(const ResourceKey& a, const ResourceKey& b) {
  return !(a < b) && !(b < a);
}

bool operator<(const ResourceKey& a, const ResourceKey& b) {
  if (a.text.empty() != b.text.empty()) return !a.text.empty();
  if (!a.text.empty()) return TextLess(a.text, b.text);
  return a.id < b.id;
}

ResourceKey ResourceId(uint16_t id) { return ResourceKey{id, {}}; }

ResourceKey ResourceText(const char* ascii) {
  ResourceKey key;
  for (; *ascii; ++ascii) key.text += char16_t(*ascii);
  return key;
}

bool ReadResources(const ImageBytesAt& at, uint32_t rootRva, uint32_t treeSize,
                   uint64_t maxDataBytes, std::vector<Resource>* resources, std::string* why) {
  Resource path;
  return TreeReader(at, rootRva, treeSize, maxDataBytes, resources, why).Directory(0, 0, &path);
}

void SortResources(std::vector<Resource>* resources) {
  auto less = [](const Resource& a, const Resource& b) {
    if (!(a.type == b.type)) return a.type < b.type;
    if (!(a.name == b.name)) return a.name < b.name;
    return a.language < b.language;
  };
  // Stable, so that of equal resources the one added last is the last of its run: that one stays.
  std::stable_sort(resources->begin(), resources->end(), less);
  std::vector<Resource> unique;
  for (size_t i = 0; i < resources->size(); ++i) {
    if (i + 1 < resources->size() && !less((*resources)[i], (*resources)[i + 1])) continue;
    unique.push_back(std::move((*resources)[i]));
  }
  *resources = std::move(unique);
}

bool BuildResourceSection(const std::vector<Resource>& resources, uint32_t sectionRva,
                          std::vector<uint8_t>* section) {
  const std::vector<TypeNode> types = Shape(resources);
  const TreeLayout layout = LayOutTree(types, resources);
  if (layout.end > 0x7FFFFFFFu || sectionRva + layout.end > 0xFFFFFFFFu) return false;

  // Appended in place: the caller's buffer may already hold the rest of the program.
  const size_t base = section->size();
  section->resize(base + size_t(layout.end), 0);
  uint8_t* bytes = section->data() + base;
  size_t entry = PutDirectory(bytes, 0, types);
  size_t nameIndex = 0, textIndex = 0;
  for (size_t t = 0; t < types.size(); ++t, entry += kEntrySize) {
    PutKey(bytes, entry, *types[t].key, layout.textAt[textIndex++]);
    StoreLE32(&bytes[entry + 4], uint32_t(layout.typeAt[t]) | kHighBit);
    size_t typeEntry = PutDirectory(bytes, size_t(layout.typeAt[t]), types[t].names);
    for (const NameNode& name : types[t].names) {
      PutKey(bytes, typeEntry, *name.key, layout.textAt[textIndex++]);
      const uint64_t at = layout.nameAt[nameIndex++];
      StoreLE32(&bytes[typeEntry + 4], uint32_t(at) | kHighBit);
      typeEntry += kEntrySize;
      PutLanguages(bytes, at, name, resources, layout, sectionRva);
    }
  }
  return true;
}

}  // namespace zarc
