// What zarc setup requires of the setup program's stub, and which of its resources it replaces:
// the one part of zarc that knows the setup program's own resource ids.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "zarc/pe/pe_resources.h"

namespace zarc {

// True when a program with these resources is the setup program's stub; otherwise *why says why,
// in words for a message about the file.
bool IsSetupStub(const std::vector<Resource>& resources, std::string* why);

// The resources of the setup program: the stub's own, except what the new ones replace and any
// package it carried (*hadPackage then true), plus the package, the record of where it may come
// from and the new ones; sorted.
std::vector<Resource> SetupProgramResources(const std::vector<Resource>& stub,
                                            std::vector<uint8_t> package, bool folderOverrides,
                                            std::vector<Resource> added, bool* hadPackage);

}  // namespace zarc
