// ProgramsInUse through Windows' Restart Manager, loaded from the system folder when first asked.
#pragma once

#include "platform/programs_in_use.h"

namespace setup {

class Win32ProgramsInUse : public ProgramsInUse {
 public:
  Win32ProgramsInUse() = default;
  ~Win32ProgramsInUse() override;
  Win32ProgramsInUse(const Win32ProgramsInUse&) = delete;
  Win32ProgramsInUse& operator=(const Win32ProgramsInUse&) = delete;

  bool Begin() override;
  bool Add(const char* const* paths, int count) override;
  int Holders(char* names, size_t capacity) override;

 private:
  bool Load();
  void End();

  void* library_ = nullptr;
  void* start_ = nullptr;  // the four entry points, once loaded
  void* add_ = nullptr;
  void* list_ = nullptr;
  void* end_ = nullptr;
  unsigned long session_ = 0;
  bool open_ = false;
};

}  // namespace setup
