// The install script "setup.txt": one command per line, "#" and a command letter, one byte that is
// skipped (by convention '='), then the value up to the line break.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/package_layout.h"

namespace setup {

class PackageArchive;
struct PackageScript;

// What a command does with its value.
enum class CommandKind : uint8_t {
  kSetting,        // a text field of the script (#G #P #T #E #R #S #N #M #U)
  kRequiredSpace,  // #D, a decimal number of megabytes
  kVersion,        // #V, see ParsePackageVersion
  kInstall,        // one more entry of the install list (#I #F #C #H #X #Z)
};

struct ScriptCommand {
  char letter;
  CommandKind kind;
  uint8_t installType;  // kInstall: the install entry type
  uint16_t capacity;    // the bytes its value's place holds with the NUL; 0 when not stored as text
};

// Every command the parser knows, settings first, then the install commands in the order their
// types are numbered; any other letter is ignored.
extern const ScriptCommand kScriptCommands[];
extern const size_t kScriptCommandCount;

// The command of that letter, or null.
const ScriptCommand* FindScriptCommand(char letter);

// The version a #V value names: after any leading blanks, the decimal digits up to the first other
// byte. False, leaving version alone, without digits, for 0 (what a record without "Version" reads
// as) and above 4294967295; the parser then ignores the line. rest, if given, is set to the first
// byte after the digits.
bool ParsePackageVersion(const char* value, uint32_t* version, const char** rest = nullptr);

// Parses the named entry of archive into script's settings and install list. False when the entry
// cannot be loaded, and when a value or the list does not fit its place (a setting over 259 bytes,
// a list value over 254 bytes, more than 65,535 list commands): such a script is refused whole rather
// than carried out in part.
bool ParseInstallScript(const PackageArchive& archive, const char* name, PackageScript* script);

}  // namespace setup
