// The platform's real Shell for tests, and a reader of shortcut files that does not share our
// writer's code: lnkinfo on the host, the shell-link object itself under Wine.
#pragma once

#include <memory>
#include <string>

#include "platform/shell.h"

namespace setup::testing {

// The platform's Shell with its desktop and Programs folders at the given paths (Windows form),
// so a test never writes into the real ones; everything else is the platform's own.
std::unique_ptr<Shell> MakePlatformShell(const std::string& desktop, const std::string& programs);

struct ShortcutFields {
  std::string target;            // code page 932
  std::string workingDirectory;  // code page 932
  int showCommand = -1;
};

enum class ShortcutRead {
  kRead,
  kUnreadable,  // the reader found no shortcut there, or not these fields
  kNoReader,    // no reader on this machine: the test is skipped
};

// Reads the shortcut file at path (Windows form).
ShortcutRead ReadShortcut(const std::string& path, ShortcutFields* fields);

// False where the shell itself cannot keep a Japanese target: Wine writes a shortcut's target
// through the ANSI code page only, so with one other than 932 it comes back as '?'s. Link names
// and working directories are kept whole everywhere.
bool ShellKeepsJapaneseTargets();

}  // namespace setup::testing
