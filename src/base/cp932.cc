#include "base/cp932.h"

namespace setup {

size_t FoldCp932Character(const char* text, char* out) {
  const uint8_t lead = uint8_t(text[0]);
  if (Cp932CharLength(text) == 1) {
    out[0] = lead >= 'a' && lead <= 'z' ? char(lead - 'a' + 'A') : char(lead);
    return 1;
  }
  uint8_t trail = uint8_t(text[1]);
  if (lead == 0x82 && trail >= 0x81 && trail <= 0x9A) trail = uint8_t(trail - 0x21);  // ａ-ｚ
  if (lead == 0x83 && trail >= 0xBF && trail <= 0xD6) trail = uint8_t(trail - 0x20);  // α-ω
  if (lead == 0x84 && trail >= 0x70 && trail <= 0x7E) trail = uint8_t(trail - 0x30);  // а-н
  if (lead == 0x84 && trail >= 0x80 && trail <= 0x91) trail = uint8_t(trail - 0x31);  // о-я
  out[0] = char(lead);
  out[1] = char(trail);
  return 2;
}

void FoldCp932Name(char* name) {
  for (size_t i = 0; name[i] != '\0';) i += FoldCp932Character(name + i, name + i);
}

bool SameCp932Name(const char* a, const char* b) {
  for (size_t i = 0;;) {
    char x[2], y[2];
    const size_t length = FoldCp932Character(a + i, x);
    if (FoldCp932Character(b + i, y) != length || x[0] != y[0] || (length == 2 && x[1] != y[1])) return false;
    if (a[i] == '\0') return true;
    i += length;
  }
}

}  // namespace setup
