// This program as a Win32 process.
#pragma once

#include "platform/program_process.h"

namespace setup {

class Win32ProgramProcess : public ProgramProcess {
 public:
  bool TakeLock(const char* name) override;
  bool ProgramPath(char* buffer, uint32_t capacity) override;
  bool RunCopy(const char* argument, uint32_t* exitCode) override;
  bool RemoveAtRestart(const char* path) override;
  bool Today(char (&date)[9]) override;
};

}  // namespace setup
