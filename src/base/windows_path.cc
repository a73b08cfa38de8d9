#include "base/windows_path.h"

#include <cstring>

#include "base/path.h"

namespace setup {

namespace {

// The double-byte characters whose spelling or case is not certain: the NEC row 13 and the IBM
// extensions (NEC's copy at 0xED and 0xEE, IBM's at 0xFA to 0xFC) hold the same characters, and
// the symbols of row 2 from 0x81BE to 0x81E7 come again in row 13.
bool IsDoubtful(const char* character) {
  const uint8_t lead = uint8_t(character[0]), trail = uint8_t(character[1]);
  return lead == 0x87 || lead >= 0xED || (lead == 0x81 && trail >= 0xBE && trail <= 0xE7);
}

}  // namespace

bool ResolveWindowsPath(const char* path, char (&out)[kPathCapacity]) {
  const bool unc = IsSeparator(path[0]) && IsSeparator(path[1]);
  // "\\?\" and "\\.\" paths reach the system's name space as they are, ".." and all.
  if (unc && (path[2] == '?' || path[2] == '.') && (path[3] == '\0' || IsSeparator(path[3]))) return false;
  const size_t rootNames = unc ? 2 : 1;
  const size_t base = unc ? 2 : 0;  // behind the "\\" of a UNC path
  out[0] = out[1] = '\\';
  size_t length = base;              // of out so far
  size_t starts[kPathCapacity / 2];  // where each name in out begins
  size_t names = 0;
  for (const char* p = path; *p != '\0';) {
    if (IsSeparator(*p)) {
      ++p;
      continue;
    }
    const size_t start = names == 0 ? base : length + 1;  // behind its separator
    size_t end = start;
    while (*p != '\0' && !IsSeparator(*p)) {
      const uint8_t b = uint8_t(*p);
      if (end + 2 >= kPathCapacity || b == '~' || (b == ':' && p != path + 1)) return false;
      const size_t step = FoldCp932Character(p, out + end);
      if (step == 1 && IsCp932LeadByte(b)) return false;  // a character cut by the NUL
      if (step == 2 && IsDoubtful(p)) out[end] = out[end + 1] = '\x01';
      end += step;
      p += step;
    }
    if (end - start == 1 && out[start] == '.') continue;
    if (end - start == 2 && out[start] == '.' && out[start + 1] == '.') {
      if (names <= rootNames) return false;  // never above the drive or the share
      length = starts[--names] - 1;
      continue;
    }
    while (end > start && (out[end - 1] == '.' || out[end - 1] == ' ')) --end;  // never a trail byte
    if (end == start) return false;
    if (names > 0) out[length] = '\\';
    starts[names++] = start;
    length = end;
  }
  out[length] = '\0';
  return true;
}

bool WindowsFolderOf(const char* path, char (&out)[kPathCapacity]) {
  if (!ResolveWindowsPath(path, out)) return false;
  // The separators of the root stay: a UNC path's "\\" and the one between server and share.
  int separators = out[0] == '\\' ? -3 : 0;
  char* last = nullptr;
  for (char* p = out; *p != '\0'; p = NextCp932Char(p)) {
    if (*p == '\\' && ++separators > 0) last = p;
  }
  if (last == nullptr) return false;
  *last = '\0';
  return true;
}

bool MayBeSameWindowsFile(const char* a, const char* b) {
  char x[kPathCapacity], y[kPathCapacity];
  return !ResolveWindowsPath(a, x) || !ResolveWindowsPath(b, y) || strcmp(x, y) == 0;
}

bool MayWindowsPathsOverlap(const char* a, const char* b) {
  char x[kPathCapacity], y[kPathCapacity];
  if (!ResolveWindowsPath(a, x) || !ResolveWindowsPath(b, y)) return true;
  for (size_t i = 0; x[i] != '\0' && y[i] != '\0'; ++i) {
    if (x[i] != y[i]) return false;
  }
  return true;
}

}  // namespace setup
