// The install script "setup.txt": one command per line, "#" and a command letter, one byte that is
// skipped (by convention '='), then the value up to the line break.
#pragma once

#include <cstdint>

namespace setup {

// The version a #V value names: after any leading blanks, the decimal digits up to the first other
// byte. False, leaving version alone, without digits, for 0 (what a record without "Version" reads
// as) and above 4294967295; the parser then ignores the line. rest, if given, is set to the first
// byte after the digits.
bool ParsePackageVersion(const char* value, uint32_t* version, const char** rest = nullptr);

// Parses the named package entry into setupState's script fields and install list. False when the
// entry cannot be loaded, and when a value or the list does not fit its place in the record (a
// setting over 259 bytes, a list value over 254 bytes, more than 256 list commands): such a script
// is refused whole rather than carried out in part.
bool ParseInstallScript(const char* name);

}  // namespace setup
