#include "zarc/pack/text_conversion.h"

#include <cstdio>

#include "model/package_layout.h"
#include "script/install_script.h"
#include "zarc/system/console.h"
#include "zarc/system/host.h"

namespace zarc {

namespace {

bool IsContinuation(uint8_t b) { return (b & 0xC0) == 0x80; }

uint32_t CodePoint(const std::string& character) {
  const uint8_t* b = reinterpret_cast<const uint8_t*>(character.data());
  switch (character.size()) {
    case 1: return b[0];
    case 2: return uint32_t(b[0] & 0x1F) << 6 | (b[1] & 0x3F);
    case 3: return uint32_t(b[0] & 0x0F) << 12 | uint32_t(b[1] & 0x3F) << 6 | (b[2] & 0x3F);
    default:
      return uint32_t(b[0] & 0x07) << 18 | uint32_t(b[1] & 0x3F) << 12 | uint32_t(b[2] & 0x3F) << 6 |
             (b[3] & 0x3F);
  }
}

// Characters that other Japanese tables give where code page 932 has a look-alike of its own, and
// that look-alike: what a publisher typing on another system most often meets.
struct LookAlike {
  uint32_t character;
  const char* cp932Form;  // UTF-8
};
const LookAlike kLookAlikes[] = {
    {0x301C, "\uFF5E"}, {0x2016, "\u2225"}, {0x2212, "\uFF0D"}, {0x2014, "\u2015"},
    {0x00A2, "\uFFE0"}, {0x00A3, "\uFFE1"}, {0x00AC, "\uFFE2"}, {0x00A5, "\uFFE5"},
};

bool StartsWithMark(const std::vector<uint8_t>& text) {
  return text.size() >= 3 && text[0] == 0xEF && text[1] == 0xBB && text[2] == 0xBF;
}

// Converts one line (no line break in it). False with *column and *character at the first
// character that does not convert.
bool ConvertLine(const uint8_t* text, size_t size, std::string* out, size_t* column,
                 std::string* character) {
  const std::string line(text, text + size);
  std::string converted;
  if (Cp932FromUtf8(line, &converted)) {
    *out += converted;
    return true;
  }
  // Character by character, to say which one.
  *column = 1;
  for (size_t i = 0; i < size; ++(*column)) {
    const size_t length = Utf8CharacterLength(text + i, size - i);
    character->clear();
    if (length == 0) return false;
    character->assign(text + i, text + i + length);
    if (!Cp932FromUtf8(*character, &converted)) return false;
    *out += converted;
    i += length;
  }
  return true;
}

}  // namespace

bool IsProgramText(const std::string& entryName) {
  return entryName == setup::kScriptEntry || entryName == setup::kLicenceEntry;
}

size_t Utf8CharacterLength(const uint8_t* text, size_t left) {
  if (left == 0) return 0;
  const uint8_t b = text[0];
  if (b < 0x80) return 1;
  size_t length = 0;
  uint8_t low = 0x80, high = 0xBF;  // the second byte's range, narrowed against overlongs
  if (b >= 0xC2 && b <= 0xDF) {
    length = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    length = 3;
    if (b == 0xE0) low = 0xA0;
    if (b == 0xED) high = 0x9F;  // no surrogates
  } else if (b >= 0xF0 && b <= 0xF4) {
    length = 4;
    if (b == 0xF0) low = 0x90;
    if (b == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (left < length || text[1] < low || text[1] > high) return 0;
  for (size_t k = 2; k < length; ++k) {
    if (!IsContinuation(text[k])) return 0;
  }
  return length;
}

bool ReadsAsUtf8(const std::vector<uint8_t>& text, int* line) {
  int number = 1;
  int first = 0;
  for (size_t i = StartsWithMark(text) ? 3 : 0; i < text.size();) {
    const size_t length = Utf8CharacterLength(text.data() + i, text.size() - i);
    if (length == 0) return false;
    if (length > 1 && first == 0) first = number;
    // CR LF, LF and CR alone each end a line.
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) {
      ++number;
    }
    i += length;
  }
  if (first == 0) return false;
  *line = first;
  return true;
}

bool ConvertUtf8Text(const std::vector<uint8_t>& utf8, std::vector<uint8_t>* cp932,
                     TextRefusal* refusal) {
  std::string out;
  int number = 1;
  size_t i = StartsWithMark(utf8) ? 3 : 0;
  while (i < utf8.size()) {
    size_t end = i;
    while (end < utf8.size() && utf8[end] != '\r' && utf8[end] != '\n') ++end;
    TextRefusal at;
    at.line = number;
    if (!ConvertLine(utf8.data() + i, end - i, &out, &at.column, &at.character)) {
      *refusal = at;
      return false;
    }
    out += "\r\n";  // the last line too: the script's parser ignores a line without a break
    if (end == utf8.size()) break;
    end += utf8[end] == '\r' && end + 1 < utf8.size() && utf8[end + 1] == '\n' ? 2 : 1;
    i = end;
    ++number;
  }
  cp932->assign(out.begin(), out.end());
  return true;
}

std::string DescribeRefusal(const TextRefusal& refusal) {
  std::string where = "line " + std::to_string(refusal.line) + ", column " +
                      std::to_string(refusal.column) + ": ";
  if (refusal.character.empty()) return where + "the bytes there are not UTF-8";
  char code[16];
  snprintf(code, sizeof code, "U+%04X", unsigned(CodePoint(refusal.character)));
  if (refusal.character == std::string(1, '\0')) return where + "a NUL (" + code + ") is no text";
  std::string message = where + Quoted(refusal.character) + " (" + code + ") has no code page 932 form";
  for (const LookAlike& alike : kLookAlikes) {
    if (alike.character == CodePoint(refusal.character)) {
      snprintf(code, sizeof code, "U+%04X", unsigned(CodePoint(alike.cp932Form)));
      message += std::string("; write ") + Quoted(alike.cp932Form) + " (" + code + ") instead";
    }
  }
  return message;
}

}  // namespace zarc
