#include "platform/memory/memory_registry.h"

#include <cstring>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "base/cp932.h"
#include "base/text.h"

namespace setup {

namespace {

struct Value {
  std::string name;  // as first set
  bool isNumber;
  std::string text;  // code page 932, or UTF-8 when wide
  uint32_t number;
  bool wide = false;
};

struct Node {
  std::string name;      // as first created
  bool deleted = false;  // set when the key goes while a handle may still hold it
  // Both by folded name, which also gives the dump its order.
  std::map<std::string, std::shared_ptr<Node>> subkeys;
  std::map<std::string, Value> values;
};

// Every lead byte is followed by a trail byte: what the Win32 conversion needs at the least.
bool IsWellFormed(const char* text) {
  for (const char* p = text; *p != '\0'; p = NextCp932Char(p)) {
    if (IsCp932LeadByte(uint8_t(p[0])) && !IsCp932TrailByte(uint8_t(p[1]))) return false;
  }
  return true;
}

// One UTF-16 unit as UTF-8; a surrogate stays a unit of its own, which the tests never need.
void AppendUtf8(char16_t unit, std::string* out) {
  if (unit < 0x80) {
    *out += char(unit);
  } else if (unit < 0x800) {
    *out += char(0xC0 | (unit >> 6));
    *out += char(0x80 | (unit & 0x3F));
  } else {
    *out += char(0xE0 | (unit >> 12));
    *out += char(0x80 | ((unit >> 6) & 0x3F));
    *out += char(0x80 | (unit & 0x3F));
  }
}

// The name as it is compared.
std::string Fold(const std::string& name) {
  std::string folded = name;
  FoldCp932Name(&folded[0]);
  return folded;
}

// The key names along path. False for a leading separator or malformed text.
bool SplitPath(const char* path, std::vector<std::string>* names) {
  names->clear();
  if (path == nullptr || path[0] == '\\' || !IsWellFormed(path)) return false;
  std::string name;
  for (const char* p = path; *p != '\0'; p = NextCp932Char(p)) {
    if (*p == '\\') {
      if (!name.empty()) names->push_back(name);
      name.clear();
      continue;
    }
    name.append(p, Cp932CharLength(p));
  }
  if (!name.empty()) names->push_back(name);
  return true;
}

// The key at names below node, or null.
std::shared_ptr<Node> FindKey(std::shared_ptr<Node> node, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    auto found = node->subkeys.find(Fold(name));
    if (found == node->subkeys.end()) return nullptr;
    node = found->second;
  }
  return node;
}

void DumpKey(const Node& node, const std::string& path, bool isRoot, std::string* out) {
  if (!isRoot || !node.values.empty()) *out += "[" + path + "]\n";
  for (const auto& entry : node.values) {
    const Value& value = entry.second;
    *out += "\"" + value.name + "\"=";
    *out += value.isNumber ? "dword:" + std::to_string(value.number)
                           : (value.wide ? "u\"" : "\"") + value.text + "\"";
    *out += "\n";
  }
  for (const auto& entry : node.subkeys) {
    const Node& subkey = *entry.second;
    DumpKey(subkey, isRoot ? subkey.name : path + "\\" + subkey.name, false, out);
  }
}

}  // namespace

// Every call locks the tree: the install run writes the record from its worker thread.
struct MemoryRegistryTree {
  std::mutex mutex;
  std::shared_ptr<Node> users = std::make_shared<Node>();
  std::shared_ptr<Node> currentUser = std::make_shared<Node>();
  std::shared_ptr<Node> localMachine = std::make_shared<Node>();
  bool failOpens = false;

  const std::shared_ptr<Node>& Root(RegistryRoot root) const {
    return root == RegistryRoot::kUsers ? users : root == RegistryRoot::kCurrentUser ? currentUser : localMachine;
  }
};

namespace {

using Lock = std::lock_guard<std::mutex>;

class MemoryRegistryKey : public RegistryKey {
 public:
  MemoryRegistryKey(std::shared_ptr<MemoryRegistryTree> tree, std::shared_ptr<Node> node)
      : tree_(std::move(tree)), node_(std::move(node)) {}

  bool QueryString(const char* name, char* buffer, uint32_t capacity) override {
    Lock lock(tree_->mutex);
    const Value* value = FindValue(name);
    if (value == nullptr || value->isNumber || value->text.size() >= capacity) return false;
    // Wide text reads back as code page 932 only where the two agree.
    for (char c : value->text) {
      if (value->wide && uint8_t(c) >= 0x80) return false;
    }
    memcpy(buffer, value->text.c_str(), value->text.size() + 1);
    return true;
  }

  bool QueryNumber(const char* name, uint32_t* number) override {
    Lock lock(tree_->mutex);
    const Value* value = FindValue(name);
    if (value == nullptr || !value->isNumber) return false;
    *number = value->number;
    return true;
  }

  bool SetString(const char* name, const char* text) override {
    if (!IsWellFormed(text)) return false;
    return Set(name, Value{name, false, text, 0});
  }

  bool SetNumber(const char* name, uint32_t number) override { return Set(name, Value{name, true, "", number}); }

  bool SetWideString(const char* name, const char16_t* text) override {
    Value value{name, false, "", 0, true};
    for (const char16_t* p = text; *p != 0; ++p) AppendUtf8(*p, &value.text);
    return Set(name, value);
  }

  bool DeleteSubkey(const char* path) override {
    Lock lock(tree_->mutex);
    std::vector<std::string> names;
    if (node_->deleted || !SplitPath(path, &names) || names.empty()) return false;
    std::vector<std::string> parentNames(names.begin(), names.end() - 1);
    std::shared_ptr<Node> parent = FindKey(node_, parentNames);
    if (parent == nullptr) return false;
    auto leaf = parent->subkeys.find(Fold(names.back()));
    if (leaf == parent->subkeys.end() || !leaf->second->subkeys.empty()) return false;
    leaf->second->deleted = true;
    leaf->second->values.clear();
    parent->subkeys.erase(leaf);
    return true;
  }

 private:
  const Value* FindValue(const char* name) const {
    if (node_->deleted || !IsWellFormed(name)) return nullptr;
    auto found = node_->values.find(Fold(name));
    return found == node_->values.end() ? nullptr : &found->second;
  }

  bool Set(const char* name, Value value) {
    Lock lock(tree_->mutex);
    if (node_->deleted || !IsWellFormed(name)) return false;
    auto inserted = node_->values.emplace(Fold(name), value);
    if (!inserted.second) {
      value.name = inserted.first->second.name;  // a replaced value keeps the name it was made with
      inserted.first->second = value;
    }
    return true;
  }

  std::shared_ptr<MemoryRegistryTree> tree_;
  std::shared_ptr<Node> node_;
};

}  // namespace

MemoryRegistry::MemoryRegistry() : tree_(std::make_shared<MemoryRegistryTree>()) {}

MemoryRegistry::~MemoryRegistry() = default;

std::unique_ptr<RegistryKey> MemoryRegistry::OpenOrCreate(RegistryRoot root, const char* path) {
  Lock lock(tree_->mutex);
  std::vector<std::string> names;
  if (tree_->failOpens || !SplitPath(path, &names)) return nullptr;
  std::shared_ptr<Node> node = tree_->Root(root);
  for (const std::string& name : names) {
    std::shared_ptr<Node>& subkey = node->subkeys[Fold(name)];
    if (subkey == nullptr) {
      subkey = std::make_shared<Node>();
      subkey->name = name;
    }
    node = subkey;
  }
  return std::make_unique<MemoryRegistryKey>(tree_, node);
}

bool MemoryRegistry::KeyExists(RegistryRoot root, const char* path) const {
  Lock lock(tree_->mutex);
  std::vector<std::string> names;
  return SplitPath(path, &names) && FindKey(tree_->Root(root), names) != nullptr;
}

std::string MemoryRegistry::Dump(RegistryRoot root) const {
  Lock lock(tree_->mutex);
  std::string out;
  DumpKey(*tree_->Root(root), "", true, &out);
  return out;
}

void MemoryRegistry::FailOpens(bool fail) {
  Lock lock(tree_->mutex);
  tree_->failOpens = fail;
}

}  // namespace setup
