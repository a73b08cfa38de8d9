// A publisher's product folder as a package takes it: every file below it, in an order that does
// not depend on the system's listing, each with the entry name that tells it apart from the others.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace zarc {

// Chooses an entry name for each file, given as the components of its path relative to the
// folder (code page 932): the shortest tail of whole components, joined by '\', that no other
// file shares as its tail of as many components, names compared as Windows compares them (letter
// case aside). A file whose every tail is shared (its whole path is a tail of another's) takes its
// whole path. The names come out distinct. False when a name would not fit an entry's 51 bytes, or
// two paths are the same but for letter case: *failed is the file, *problem says why.
bool ChooseEntryNames(const std::vector<std::vector<std::string>>& paths,
                      std::vector<std::string>* names, size_t* failed, std::string* problem);

struct FolderTree {
  struct File {
    std::string relative;   // code page 932, components joined by '\'
    std::string hostPath;   // the file to read, in the host's form
    std::string entryName;  // from ChooseEntryNames
  };
  // Every folder below the root (relative, code page 932), parents before children. The folders
  // and files come sorted by the code page 932 bytes of each name, a folder's files before its
  // sub-folders, so the same tree gives the same order on every system.
  std::vector<std::string> folders;
  std::vector<File> files;
};

// Reads the tree below folder (host form). False when a folder cannot be listed, a name has no
// code page 932 form, a relative path would not fit an install list value (254 bytes), or
// ChooseEntryNames refuses: *problem then names the file (or folder) and the reason.
bool ReadFolderTree(setup::FileSystem& files, const std::string& folder, FolderTree* tree,
                    std::string* problem);

// True when path is a folder that can be listed (and so no file to pack alone).
bool IsListableFolder(setup::FileSystem& files, const std::string& path);

}  // namespace zarc
