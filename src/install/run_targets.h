// The one walk over the install list that installing, measuring and the search for files in use
// all take, so that they cannot disagree on what a run writes; and the files a run will replace,
// and the programs that hold them, which a run must find before it changes anything.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/install_list.h"

namespace setup {

class FileSystem;
class PackageArchive;
class ProgramsInUse;

// What a run over the install list reads: the package, the list, the folder it installs into and
// the option chosen for #Z. All of it outlives the run and nothing writes it while it runs.
struct RunPlan {
  const PackageArchive& archive;
  const InstallEntry* entries;
  int count;
  const char* installDir;
  uint8_t optionChoice;
};

// The actions of the list. For each, the destination is its path joined to installDir, and the
// source: #I the package entry's name (the list's own text, which outlives the run), #C and #H the
// source path as the script gives it, #X the content or null; #F has none. False stops the walk.
class ListVisitor {
 public:
  virtual bool Act(InstallEntryType type, const char* source, const char* destination) = 0;

 protected:
  ~ListVisitor() = default;
};

// Walks the list in order, passing over what #Z rules out. False when the visitor stops it, and
// at the first entry whose text has no end inside its field or whose path would be longer than
// 259 bytes: the run fails there.
bool WalkInstallList(const RunPlan& plan, ListVisitor& visitor);

// Each file a run writes, in list order, with what it is written from: installDir\name of every
// #I from its package entry (packaged), the target of every #C and each file an #H tree copy makes
// from their files. False stops the walk.
class TargetVisitor {
 public:
  virtual bool Target(const char* destination, const char* source, bool packaged) = 0;

 protected:
  ~TargetVisitor() = default;
};

// False when the visitor stopped the walk; the walk ends too where the run would fail.
bool VisitTargets(FileSystem& files, const RunPlan& plan, TargetVisitor& visitor);

constexpr size_t kHoldersCapacity = 512;

// What holds files a run would replace.
struct FilesInUse {
  int programs;                    // how many programs the system named; 0: names is a held file
  char names[kHoldersCapacity];    // their names, one to a line, or the first held file's path
};

// True when another program holds a target that is there: those the system's restart service
// names (programs, when given), or else the first that cannot be opened for writing without
// sharing. Changes nothing.
bool FindFilesInUse(FileSystem& files, ProgramsInUse* programs, const RunPlan& plan, FilesInUse* found);

}  // namespace setup
