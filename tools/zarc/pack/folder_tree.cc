#include "zarc/pack/folder_tree.h"

#include <algorithm>
#include <map>
#include <memory>

#include "archive/archive_format.h"
#include "base/cp932.h"
#include "model/package_layout.h"
#include "zarc/system/console.h"
#include "zarc/system/host.h"

namespace zarc {

namespace {

std::string Joined(const std::vector<std::string>& parts, size_t first) {
  std::string text;
  for (size_t i = first; i < parts.size(); ++i) text += (i == first ? "" : "\\") + parts[i];
  return text;
}

std::string Folded(std::string name) {
  std::unique_ptr<char[]> buffer(new char[name.size() + 1]);
  std::copy(name.begin(), name.end(), buffer.get());
  buffer[name.size()] = '\0';
  setup::FoldCp932Name(buffer.get());
  return std::string(buffer.get(), name.size());
}

// The names of one folder, files and sub-folders apart.
class Collect : public setup::FolderVisitor {
 public:
  bool Visit(const setup::FolderItem& item) override {
    (item.isFolder ? folders : files).push_back(item.name);
    return true;
  }
  std::vector<std::string> folders, files;
};

struct Walk {
  setup::FileSystem& fs;
  FolderTree* tree;
  std::vector<std::vector<std::string>> paths;  // of tree->files
  std::string* problem;

  // The host names sorted by their code page 932 bytes, with those bytes; false when one has none.
  bool Sorted(const std::string& hostFolder, const std::vector<std::string>& hostNames,
              std::vector<std::pair<std::string, std::string>>* sorted) {
    for (const std::string& host : hostNames) {
      std::string cp932;
      if (!EntryNameFromHost(host, &cp932)) {
        *problem = ShowHostName(JoinHostPath(hostFolder, host)) + ": the name has no code page 932 form";
        return false;
      }
      sorted->emplace_back(cp932, host);
    }
    std::sort(sorted->begin(), sorted->end());
    return true;
  }

  bool Fits(const std::string& hostPath, const std::string& relative) {
    if (relative.size() < setup::kInstallTextCapacity) return true;
    *problem = ShowHostName(hostPath) + ": its path in the folder is " +
               std::to_string(relative.size()) + " bytes in code page 932; an install list value " +
               "holds at most " + std::to_string(setup::kInstallTextCapacity - 1);
    return false;
  }

  bool Read(const std::string& hostFolder, std::vector<std::string>& parts) {
    Collect items;
    if (!fs.ListFolder(hostFolder.c_str(), items)) {
      *problem = ShowHostName(hostFolder) + ": cannot list the folder";
      return false;
    }
    std::vector<std::pair<std::string, std::string>> files, folders;
    if (!Sorted(hostFolder, items.files, &files) || !Sorted(hostFolder, items.folders, &folders)) {
      return false;
    }
    for (const auto& [name, host] : files) {
      parts.push_back(name);
      FolderTree::File file{Joined(parts, 0), JoinHostPath(hostFolder, host), std::string()};
      if (!Fits(file.hostPath, file.relative)) return false;
      tree->files.push_back(file);
      paths.push_back(parts);
      parts.pop_back();
    }
    for (const auto& [name, host] : folders) {
      parts.push_back(name);
      const std::string hostPath = JoinHostPath(hostFolder, host);
      tree->folders.push_back(Joined(parts, 0));
      if (!Fits(hostPath, tree->folders.back()) || !Read(hostPath, parts)) return false;
      parts.pop_back();
    }
    return true;
  }
};

}  // namespace

bool ChooseEntryNames(const std::vector<std::vector<std::string>>& paths,
                      std::vector<std::string>* names, size_t* failed, std::string* problem) {
  // How many files have each tail, by its number of components and its folded text.
  std::map<std::pair<size_t, std::string>, size_t> tails;
  for (const std::vector<std::string>& parts : paths) {
    for (size_t first = 0; first < parts.size(); ++first) {
      ++tails[{parts.size() - first, Folded(Joined(parts, first))}];
    }
  }
  std::map<std::string, size_t> whole;  // folded whole paths, to find two that Windows sees as one
  names->assign(paths.size(), std::string());
  for (size_t i = 0; i < paths.size(); ++i) {
    const std::vector<std::string>& parts = paths[i];
    const std::string folded = Folded(Joined(parts, 0));
    const auto [same, fresh] = whole.emplace(folded, i);
    if (!fresh) {
      *failed = i;
      *problem = "its path differs from that of another file only in letter case, which Windows "
                 "cannot tell apart";
      return false;
    }
    std::string& name = (*names)[i];
    for (size_t first = parts.size(); first-- > 0 && name.empty();) {
      if (tails[{parts.size() - first, Folded(Joined(parts, first))}] == 1) name = Joined(parts, first);
    }
    if (name.empty()) name = Joined(parts, 0);  // its whole path is another's tail
    if (name.size() >= setup::kEntryNameCapacity) {
      *failed = i;
      *problem = "no name of at most " + std::to_string(setup::kEntryNameCapacity - 1) +
                 " bytes tells it apart from the other files (the shortest, " +
                 Quoted(ShowEntryName(name)) + ", is " + std::to_string(name.size()) +
                 " bytes in code page 932)";
      return false;
    }
  }
  return true;
}

bool ReadFolderTree(setup::FileSystem& files, const std::string& folder, FolderTree* tree,
                    std::string* problem) {
  *tree = FolderTree();
  Walk walk{files, tree, {}, problem};
  std::vector<std::string> parts;
  if (!walk.Read(folder, parts)) return false;
  std::vector<std::string> names;
  size_t failed = 0;
  std::string why;
  if (!ChooseEntryNames(walk.paths, &names, &failed, &why)) {
    *problem = ShowHostName(tree->files[failed].hostPath) + ": " + why;
    return false;
  }
  for (size_t i = 0; i < names.size(); ++i) tree->files[i].entryName = names[i];
  return true;
}

bool IsListableFolder(setup::FileSystem& files, const std::string& path) {
  uint64_t size = 0;
  Collect ignored;
  return !files.FileSize(path.c_str(), &size) && files.ListFolder(path.c_str(), ignored);
}

}  // namespace zarc
