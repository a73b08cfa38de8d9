// The "ZARC" resources of a module: where setup.exe carries its built-in package.
#pragma once

#include <windows.h>

#include "platform/program_resources.h"

namespace setup {

class Win32Resources : public ProgramResources {
 public:
  // The resources of module; by default those of the program itself.
  explicit Win32Resources(HMODULE module = GetModuleHandleW(nullptr)) : module_(module) {}

  // The name is code page 932 text, matched as Windows matches resource names (ignoring case).
  bool FindPackage(const char* name, const uint8_t** data, uint32_t* size) override;
  // Ids run from 1 to 65535; any other id finds nothing.
  bool FindPackage(int id, const uint8_t** data, uint32_t* size) override;
  bool FindVersionInformation(const uint8_t** data, uint32_t* size) override;

 private:
  bool Load(const wchar_t* name, const wchar_t* type, const uint8_t** data, uint32_t* size);

  HMODULE module_;
};

}  // namespace setup
