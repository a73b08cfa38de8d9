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

bool WalkInstallList(const RunPlan& plan, ListVisitor& visitor) {
  for (int i = 0; i < plan.count; ++i) {
    const InstallEntry& entry = plan.entries[i];
    const InstallEntryType type = InstallEntryType(entry.type);
    if (type < kExtractEntry || type > kIfOptionIs) continue;  // not an install action
    SplitText text;
    if (!text.Split(entry)) return false;
    if (type == kIfOptionIs) {
      if (!OptionMatches(entry.text, plan.optionChoice)) ++i;  // the next entry is passed over unread
      continue;
    }
    // #I and #F name their path whole, commas and all; the others split theirs at the first comma.
    const bool whole = type == kExtractEntry || type == kMakeFolder;
    const char* named = whole ? entry.text : type == kWriteNewFile ? text.first() : text.secondOrFirst();
    const char* source = type == kExtractEntry ? entry.text : type == kWriteNewFile ? text.second() : text.first();
    char path[kPathCapacity];
    if (!FormatPath(path, "%s\\%s", plan.installDir, named) || !visitor.Act(type, source, path)) return false;
  }
  return true;
}

namespace {

// The targets of the list's actions; #F and #X write nothing that is there before them (#X
// refuses a file that is).
class TargetWalker : public ListVisitor {
 public:
  TargetWalker(FileSystem& files, TargetVisitor& visitor) : files_(files), visitor_(visitor) {}
  bool Act(InstallEntryType type, const char* source, const char* destination) override {
    bool going = true;
    if (type == kCopyTree) {
      TreeTargets tree(files_, visitor_, destination, source);
      files_.ListFolder(source, tree);
      going = tree.going;
    } else if (type == kExtractEntry || type == kCopyFile) {
      going = visitor_.Target(destination, source, type == kExtractEntry);
    }
    stopped = !going;
    return going;
  }
  bool stopped = false;

 private:
  FileSystem& files_;
  TargetVisitor& visitor_;
};

}  // namespace

bool VisitTargets(FileSystem& files, const RunPlan& plan, TargetVisitor& visitor) {
  TargetWalker walker(files, visitor);
  WalkInstallList(plan, walker);
  return !walker.stopped;
}

bool FindFilesInUse(FileSystem& files, ProgramsInUse* programs, const RunPlan& plan, FilesInUse* found) {
  found->programs = 0;
  found->names[0] = '\0';
  if (programs != nullptr && programs->Begin()) {
    Registrar registrar(*programs);
    VisitTargets(files, plan, registrar);
    registrar.Flush();
    found->programs = programs->Holders(found->names, sizeof found->names);
    if (found->programs > 0) return true;
    found->names[0] = '\0';
  }
  // The service names nobody for some holders (and is not everywhere): each target is tried.
  HeldFinder finder(files, *found);
  return !VisitTargets(files, plan, finder);
}

}  // namespace setup
