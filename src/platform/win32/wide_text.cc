#include "platform/win32/wide_text.h"

#include <windows.h>

#include <climits>
#include <cstring>
#include <cwchar>

#include "base/cp932.h"

namespace setup {

namespace {

constexpr UINT kCodePage = 932;
constexpr wchar_t kReplacement = 0xFFFD;

// One character of length bytes, or false when the system gives it no meaning.
bool ConvertOne(const char* bytes, int length, wchar_t* out) {
  return MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes, length, out, 1) == 1;
}

}  // namespace

bool ToWide(const char* text, WideText* out) {
  out->Clear();
  size_t length = strlen(text);
  if (length == 0) return true;
  if (length > INT_MAX) return false;
  // Invalid or cut-off double-byte characters fail the conversion instead of becoming U+FFFD.
  auto convert = [&](wchar_t* buffer, int capacity) {
    return MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, text, int(length), buffer, capacity);
  };
  int wideLength = convert(nullptr, 0);
  if (wideLength <= 0) return false;
  if (!out->Resize(size_t(wideLength))) return false;
  if (convert(out->data(), wideLength) != wideLength) {
    out->Clear();
    return false;
  }
  return true;
}

bool ToWideForDisplay(const char* text, WideText* out) {
  if (ToWide(text, out)) return true;
  // Character by character: a lead byte whose trail is missing takes only itself, so a cut
  // character never swallows the line break after it. The system's own replacement for invalid
  // bytes differs between versions; one U+FFFD everywhere is predictable.
  out->Clear();
  // Never more characters than bytes.
  if (!out->Resize(strlen(text))) return false;
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
  size_t count = 0;
  for (size_t at = 0; bytes[at] != 0; ++count) {
    wchar_t character = kReplacement;
    int length = 1;
    if (bytes[at] < 0x80) {
      character = wchar_t(bytes[at]);
    } else if (IsCp932LeadByte(bytes[at]) && IsCp932TrailByte(bytes[at + 1])) {
      length = 2;
      if (!ConvertOne(text + at, 2, &character)) character = kReplacement;
    } else if (!IsCp932LeadByte(bytes[at]) && !ConvertOne(text + at, 1, &character)) {
      character = kReplacement;
    }
    out->data()[count] = character;
    at += size_t(length);
  }
  out->Resize(count);
  return true;
}

bool FromWide(const wchar_t* text, NarrowText* out) {
  out->Clear();
  size_t length = wcslen(text);
  if (length == 0) return true;
  if (length > INT_MAX) return false;
  // Any character without an exact form sets usedDefault instead of being replaced silently.
  BOOL usedDefault = FALSE;
  auto convert = [&](char* buffer, int capacity) {
    return WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text, int(length), buffer, capacity, nullptr,
                               &usedDefault);
  };
  int narrowLength = convert(nullptr, 0);
  if (narrowLength <= 0 || usedDefault) return false;
  if (!out->Resize(size_t(narrowLength))) return false;
  if (convert(out->data(), narrowLength) != narrowLength || usedDefault) {
    out->Clear();
    return false;
  }
  return true;
}

}  // namespace setup
