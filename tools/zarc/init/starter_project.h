// What "zarc init" writes: a package's files that pass "zarc check" as they are and that a
// publisher then edits into their own product's.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zarc {

// The longest product name taken, in code page 932 bytes: it goes into the install folder, the
// registry key, the start-menu folder and file names, all within the program's 259-byte paths.
constexpr size_t kMaxProductName = 64;

// Why name (code page 932) cannot be the product's name in those places, or null when it can:
// empty, too long, not code page 932, holding a character Windows refuses in a file name, or a
// device's name such as NUL.
const char* ProductNameProblem(const std::string& name);

struct StarterFile {
  std::string name;           // the package entry's name, code page 932
  std::vector<uint8_t> data;  // as the setup program reads it
};

// The starter project for the product name (code page 932, without a ProductNameProblem): the
// install script and the licence in code page 932 with CR LF, a readme, and the two pictures. The
// script installs what the project holds and names the product's program and uninstaller in
// comments, to be taken in once they are in the folder. False when this system cannot convert
// text to code page 932.
bool StarterProject(const std::string& name, std::vector<StarterFile>* files);

}  // namespace zarc
