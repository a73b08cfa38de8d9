#include "platform/win32/wide_text.h"

#include <windows.h>

#include <climits>
#include <cstring>
#include <cwchar>

namespace setup {

namespace {

constexpr UINT kCodePage = 932;

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
