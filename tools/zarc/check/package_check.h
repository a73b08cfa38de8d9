// The checks a package must pass before it goes into a setup program: each finding names the entry
// and, for the install script, the line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "zarc/system/console.h"

namespace zarc {

struct Finding {
  bool error;           // false: a warning, which does not stop a setup from being written
  std::string entry;    // the package entry it concerns ("setup.txt"), or empty for the package
  int line;             // 1-based line in that entry, or 0
  std::string message;
  // Something only a program that reads the folder it starts from does (a #C or #H from there),
  // which one written by zarc setup does only with --allow-folder-overrides.
  bool readsStartFolder = false;
};

class Package;

// Runs every check on an open package. Findings in entry and line order.
std::vector<Finding> CheckPackage(Package& package);
// The same on the bytes of a package (a whole "ZARC" image), opened for the check.
std::vector<Finding> CheckPackage(std::vector<unsigned char> image);

// Prints each finding to standard error as "ENTRY:LINE: error: MESSAGE" (": warning: ", the line
// left out when 0, the entry left out when empty). True when any finding is an error.
bool ReportFindings(const std::vector<Finding>& findings, Console& console);

// The caption the setup program would show for this package, read by its own parser: the product's
// name. Empty when the package or its script cannot be read.
std::string ScriptCaption(const std::vector<unsigned char>& image);

}  // namespace zarc
