// The files a run over the install list will replace, and the programs that hold them, which a
// run must find before it changes anything.
#pragma once

#include <cstddef>

#include "model/setup_state.h"

namespace setup {

class FileSystem;
class ProgramsInUse;

// Each file a run writes, in list order, with what it is written from: installDir\name of every
// #I from its package entry (packaged), the target of every #C and each file an #H tree copy makes
// from their files; #Z is followed as the run follows it. False stops the walk.
class TargetVisitor {
 public:
  virtual bool Target(const char* destination, const char* source, bool packaged) = 0;

 protected:
  ~TargetVisitor() = default;
};

// False when the visitor stopped the walk.
bool VisitTargets(FileSystem& files, const InstallEntry* entries, int count, TargetVisitor& visitor);

constexpr size_t kHoldersCapacity = 512;

// What holds files a run would replace.
struct FilesInUse {
  int programs;                    // how many programs the system named; 0: names is a held file
  char names[kHoldersCapacity];    // their names, one to a line, or the first held file's path
};

// True when another program holds a target that is there: those the system's restart service
// names (programs, when given), or else the first that cannot be opened for writing without
// sharing. Changes nothing.
bool FindFilesInUse(FileSystem& files, ProgramsInUse* programs, const InstallEntry* entries, int count,
                    FilesInUse* found);

}  // namespace setup
