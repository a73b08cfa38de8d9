// What a folder tree holds, for comparing whole trees in one assertion.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace setup::testing {

// Relative path ('\'-separated) -> file bytes, or "<folder>" for a folder. Empty when root cannot
// be listed.
using TreeSnapshot = std::map<std::string, std::string>;

inline void AddToSnapshot(FileSystem& fs, const std::string& root, const std::string& prefix, TreeSnapshot* out) {
  struct Collector : FolderVisitor {
    bool Visit(const FolderItem& item) override {
      items.emplace_back(item.name, item.isFolder);
      return true;
    }
    std::vector<std::pair<std::string, bool>> items;
  } collector;
  if (!fs.ListFolder(root.c_str(), collector)) return;
  for (const auto& [name, isFolder] : collector.items) {
    std::string relative = prefix.empty() ? name : prefix + "\\" + name;
    std::string path = root + "\\" + name;
    if (isFolder) {
      (*out)[relative] = "<folder>";
      AddToSnapshot(fs, path, relative, out);
      continue;
    }
    uint8_t* data = nullptr;
    uint32_t size = 0;
    if (fs.ReadWholeFile(path.c_str(), &data, &size)) {
      (*out)[relative] = std::string(reinterpret_cast<const char*>(data), size);
      delete[] data;
    } else {
      (*out)[relative] = "<unreadable>";
    }
  }
}

inline TreeSnapshot Snapshot(FileSystem& fs, const std::string& root) {
  TreeSnapshot out;
  AddToSnapshot(fs, root, "", &out);
  return out;
}

}  // namespace setup::testing
