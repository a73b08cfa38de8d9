#include "install/run_targets.h"

#include <cstring>

#include "base/path.h"
#include "base/text.h"
#include "install/entry_text.h"
#include "platform/file_system.h"
#include "platform/programs_in_use.h"

namespace setup {

namespace {

// The files an #H copy makes, found as CopyFolderTree will copy them.
class TreeTargets : public FolderVisitor {
 public:
  TreeTargets(FileSystem& files, TargetVisitor& visitor, const char* destination, const char* source)
      : files_(files), visitor_(visitor), destination_(destination), source_(source) {}
  bool Visit(const FolderItem& item) override {
    if (item.isFolder && item.name[0] == '.') return true;
    char from[kPathCapacity], to[kPathCapacity];
    if (!FormatPath(from, "%s\\%s", source_, item.name) || !FormatPath(to, "%s\\%s", destination_, item.name)) {
      return true;  // the copy fails there
    }
    if (item.isFolder) {
      TreeTargets inner(files_, visitor_, to, from);
      files_.ListFolder(from, inner);
      going = inner.going;
    } else {
      going = visitor_.Target(to, from, false);
    }
    return going;
  }
  bool going = true;

 private:
  FileSystem& files_;
  TargetVisitor& visitor_;
  const char* destination_;
  const char* source_;
};

// Hands the targets to the restart service, a group at a time; it passes over those not there.
class Registrar : public TargetVisitor {
 public:
  explicit Registrar(ProgramsInUse& programs) : programs_(programs) {}
  bool Target(const char* path, const char*, bool) override {
    CopyText(group_[count_], kPathCapacity, path);
    if (++count_ == kGroup) Flush();
    return true;
  }
  void Flush() {
    const char* paths[kGroup];
    for (int i = 0; i < count_; ++i) paths[i] = group_[i];
    if (count_ > 0) programs_.Add(paths, count_);
    count_ = 0;
  }

 private:
  static constexpr int kGroup = kProgramsInUseGroup;
  ProgramsInUse& programs_;
  char group_[kGroup][kPathCapacity];
  int count_ = 0;
};

// Stops at the first target another program holds.
class HeldFinder : public TargetVisitor {
 public:
  HeldFinder(FileSystem& files, FilesInUse& found) : files_(files), found_(found) {}
  bool Target(const char* path, const char*, bool) override {
    if (!files_.HeldByAnother(path)) return true;
    CopyText(found_.names, sizeof found_.names, path);
    return false;
  }

 private:
  FileSystem& files_;
  FilesInUse& found_;
};

}  // namespace

bool VisitTargets(FileSystem& files, const InstallEntry* entries, int count, TargetVisitor& visitor) {
  const char* installDir = setupState.installDir;
  for (int i = 0; i < count; ++i) {
    const InstallEntry& entry = entries[i];
    SplitText text;
    if (entry.type >= kExtractEntry && entry.type <= kIfOptionIs && !text.Split(entry)) return true;  // the run stops
    char path[kPathCapacity];
    switch (entry.type) {
      case kExtractEntry:
        if (FormatPath(path, "%s\\%s", installDir, entry.text) && !visitor.Target(path, entry.text, true)) return false;
        break;
      case kCopyFile:
        if (FormatPath(path, "%s\\%s", installDir, text.secondOrFirst()) &&
            !visitor.Target(path, text.first(), false)) {
          return false;
        }
        break;
      case kCopyTree:
        if (FormatPath(path, "%s\\%s", installDir, text.secondOrFirst())) {
          TreeTargets tree(files, visitor, path, text.first());
          files.ListFolder(text.first(), tree);
          if (!tree.going) return false;
        }
        break;
      case kIfOptionIs:
        if (!OptionMatches(entry.text)) ++i;
        break;
      default:
        break;  // writes nothing that is there before it (#X refuses a file that is)
    }
  }
  return true;
}

bool FindFilesInUse(FileSystem& files, ProgramsInUse* programs, const InstallEntry* entries, int count,
                    FilesInUse* found) {
  found->programs = 0;
  found->names[0] = '\0';
  if (programs != nullptr && programs->Begin()) {
    Registrar registrar(*programs);
    VisitTargets(files, entries, count, registrar);
    registrar.Flush();
    found->programs = programs->Holders(found->names, sizeof found->names);
    if (found->programs > 0) return true;
    found->names[0] = '\0';
  }
  // The service names nobody for some holders (and is not everywhere): each target is tried.
  HeldFinder finder(files, *found);
  return !VisitTargets(files, entries, count, finder);
}

}  // namespace setup
