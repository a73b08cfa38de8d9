// Windows paths in code page 932: bounded formatting into the 260-byte path buffers, and the
// separator tests that skip the trail byte of a double-byte character.
#pragma once

#include "base/text.h"

namespace setup {

// Formats into out as snprintf does ("%s\\%s" and the like). False, with out empty, when the
// result would be longer than 259 bytes: such a path is refused, never cut.
bool FormatPath(char (&out)[kPathCapacity], const char* format, ...) __attribute__((format(printf, 2, 3)));

// True for '\' and '/', the separators Windows accepts. '\' can also be the trail byte of a
// double-byte character, so callers test only bytes that begin a character.
inline bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// True for a path that names its own place: from a drive's root ("C:\", "C:/") or a UNC path
// ("\\server", "//server"). Any other, "C:name" and "\name" too, is found from the current directory.
bool IsFullPath(const char* path);

// True when the last byte of text is a separator and not the trail byte of a double-byte
// character ("ソ" is 83 5C).
bool EndsWithSeparator(const char* text);

}  // namespace setup
