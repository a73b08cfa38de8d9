// The program's own resources as the core needs them. Names are NUL-terminated code page 932 text.
#pragma once

#include <cstdint>

namespace setup {

// The program's own "ZARC" resources, where the built-in package lives, and its version information.
class ProgramResources {
 public:
  virtual ~ProgramResources() = default;
  // The bytes of the "ZARC" resource of that name or numeric id; they stay valid for the rest of
  // the run. False if there is none.
  virtual bool FindPackage(const char* name, const uint8_t** data, uint32_t* size) = 0;
  virtual bool FindPackage(int id, const uint8_t** data, uint32_t* size) = 0;
  // The program's version information (VS_VERSIONINFO), if it has any.
  virtual bool FindVersionInformation(const uint8_t** data, uint32_t* size) { return false; }
};

}  // namespace setup
