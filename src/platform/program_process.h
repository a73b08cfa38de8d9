// This program as a process: its own file, a lock against a second copy, a copy of itself run from
// elsewhere, removal at the next restart, and the date. Paths are code page 932.
#pragma once

#include <cstdint>

namespace setup {

class ProgramProcess {
 public:
  virtual ~ProgramProcess() = default;

  // Takes the lock of that name for as long as the program runs. False when another process holds
  // it (or it cannot be made).
  virtual bool TakeLock(const char* name) = 0;

  // The path of this program's file.
  virtual bool ProgramPath(char* buffer, uint32_t capacity) = 0;

  // Copies this program into a folder of its own, made fresh under the temporary folder, starts
  // the copy with argument as its command line, waits for it and gives its exit code. False when
  // the copy could not be made or started.
  virtual bool RunCopy(const char* argument, uint32_t* exitCode) = 0;

  // Queues the file or empty folder at path for deletion at the next restart; a folder after
  // what is in it.
  virtual bool RemoveAtRestart(const char* path) = 0;

  // The local date as yyyymmdd.
  virtual bool Today(char (&date)[9]) = 0;
};

}  // namespace setup
