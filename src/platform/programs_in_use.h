// Which programs have files open, as the system's own restart service can tell. Nothing here
// includes <windows.h>.
#pragma once

#include <cstddef>

namespace setup {

// Files are added at most this many at a time.
constexpr int kProgramsInUseGroup = 16;

// One question at a time: Begin, Add for each group of files, then Holders.
class ProgramsInUse {
 public:
  virtual ~ProgramsInUse() = default;
  // Starts a question about a new set of files; false when the system cannot answer one.
  virtual bool Begin() = 0;
  // Adds count files (code page 932 paths) to the question; false when they cannot be added.
  virtual bool Add(const char* const* paths, int count) = 0;
  // Ends the question. Writes the names of the programs that hold any of the files, one to a line,
  // into names[capacity] (those that fit) and returns how many there are: 0 when none does or the
  // system could name none.
  virtual int Holders(char* names, size_t capacity) = 0;
};

}  // namespace setup
