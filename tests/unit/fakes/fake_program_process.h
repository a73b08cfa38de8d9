// The program's process for tests: locks taken by others, a copy that "runs" by calling back, and
// what was queued for removal at restart.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "base/text.h"
#include "platform/program_process.h"

namespace setup::testing {

class FakeProgramProcess : public ProgramProcess {
 public:
  bool TakeLock(const char* name) override {
    if (heldElsewhere.count(name) != 0) return false;
    locks.push_back(name);
    return true;
  }
  bool ProgramPath(char* buffer, uint32_t capacity) override {
    return CopyText(buffer, capacity, path.c_str());
  }
  bool RunCopy(const char* argument, uint32_t* exitCode) override {
    copyArguments.push_back(argument);
    if (!copy) return false;
    *exitCode = uint32_t(copy(argument));
    return true;
  }
  bool RemoveAtRestart(const char* file) override {
    removedAtRestart.push_back(file);
    return true;
  }
  bool Today(char (&date)[9]) override { return CopyText(date, sizeof date, today); }

  std::string path = "C:\\Program Files\\Quillfen\\uninstall.exe";
  std::set<std::string> heldElsewhere;
  std::function<int(const char*)> copy;  // none: the copy cannot start
  const char* today = "20261210";
  std::vector<std::string> locks, copyArguments, removedAtRestart;
};

}  // namespace setup::testing
