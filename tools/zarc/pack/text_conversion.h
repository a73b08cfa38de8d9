// Text typed in UTF-8, as most editors save it, made into what the setup program reads: code page
// 932 with CR LF. The setup program itself only ever sees code page 932.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zarc {

// True for the entries the setup program reads as text: the install script and the licence.
bool IsProgramText(const std::string& entryName);

// Length of the UTF-8 character at text[0] (text holds left bytes), or 0 when the bytes there are
// no well-formed UTF-8 character (overlong forms and surrogates included).
size_t Utf8CharacterLength(const uint8_t* text, size_t left);

// True when text is well-formed UTF-8 with at least one character beyond ASCII after any leading
// byte-order mark: such text shows garbled as code page 932. *line is then the 1-based line of the
// first such character.
bool ReadsAsUtf8(const std::vector<uint8_t>& text, int* line);

// Where a conversion stopped.
struct TextRefusal {
  int line = 0;           // 1-based
  size_t column = 0;      // 1-based, in characters
  std::string character;  // the character's UTF-8 bytes; empty when the bytes are not UTF-8
};

// Converts UTF-8 text: a leading byte-order mark dropped, every line break (CR LF, LF or CR
// alone) made CR LF and one added after a last line without any, every character made code page
// 932. False at the first character that has no
// code page 932 form, a NUL, or bytes that are not UTF-8: *refusal says where, *cp932 is unchanged.
bool ConvertUtf8Text(const std::vector<uint8_t>& utf8, std::vector<uint8_t>* cp932,
                     TextRefusal* refusal);

// The refusal in words: `line 3, column 5: "é" (U+00E9) has no code page 932 form`.
std::string DescribeRefusal(const TextRefusal& refusal);

}  // namespace zarc
