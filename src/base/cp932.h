// Code page 932 as the program meets it in names: where a character starts, and how two names
// compare when Windows looks them up (files, registry keys and values, resources).
#pragma once

#include <cstddef>
#include <cstdint>

namespace setup {

// True for a byte that starts a double-byte character in code page 932; the byte after it is a trail
// byte, which may be 0x5C ('\') without being a separator.
inline bool IsCp932LeadByte(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// True for a byte that may follow a lead byte.
inline bool IsCp932TrailByte(uint8_t b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// The one step over a character: the length of the one that starts at text, 2 for a lead byte and
// the byte after it, else 1. A lead byte before the NUL counts alone, so a step never passes the
// end. text must not be at its NUL (which also counts 1, never 0).
inline size_t Cp932CharLength(const char* text) {
  return IsCp932LeadByte(uint8_t(text[0])) && text[1] != '\0' ? 2 : 1;
}
inline const char* NextCp932Char(const char* text) { return text + Cp932CharLength(text); }
inline char* NextCp932Char(char* text) { return text + Cp932CharLength(text); }

// The same step within the size bytes left of text that need not end in a NUL (size at least 1):
// their end counts as the NUL does, and so does a NUL among them.
inline size_t Cp932CharLength(const uint8_t* text, size_t size) {
  return size >= 2 && IsCp932LeadByte(text[0]) && text[1] != 0 ? 2 : 1;
}

// The character at text (one byte, or a lead byte and its trail) in the case names compare in,
// put at out; returns its length, 1 or 2, the same as the character's own. A lead byte before the
// NUL counts alone.
//
// Windows compares names through its upper-case table over UTF-16, so a name's case is every
// letter that has one, not only ASCII: of what code page 932 holds, the ASCII and full-width Latin
// letters, Greek and Cyrillic. Those fold to upper case here. A trail byte in the ASCII letter
// range is no letter and stays as it is. Characters that code page 932 spells twice (the NEC and
// IBM rows) are not brought together: who must be sure two names differ treats them as unknown.
size_t FoldCp932Character(const char* text, char* out);

// Folds a NUL-terminated name in place; its length does not change.
void FoldCp932Name(char* name);

// True when a and b name the same thing as Windows compares names.
bool SameCp932Name(const char* a, const char* b);

}  // namespace setup
