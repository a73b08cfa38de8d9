// POSIX hosts: names on the command line and on disk are UTF-8, converted with iconv.
#include <iconv.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "zarc/system/console.h"
#include "zarc/system/host.h"

namespace zarc {

namespace {

// Converts all of in; false on any byte sequence without a counterpart.
bool Convert(const char* from, const char* to, const std::string& in, std::string* out) {
  iconv_t cd = iconv_open(to, from);
  if (cd == iconv_t(-1)) return false;
  std::string result;
  char buffer[256];
  char* input = const_cast<char*>(in.data());
  size_t inputLeft = in.size();
  bool ok = true;
  for (;;) {
    char* output = buffer;
    size_t outputLeft = sizeof buffer;
    // A null input flushes the converter's shift state once everything was taken.
    const size_t r = inputLeft > 0 ? iconv(cd, &input, &inputLeft, &output, &outputLeft)
                                   : iconv(cd, nullptr, nullptr, &output, &outputLeft);
    result.append(buffer, size_t(output - buffer));
    if (r != size_t(-1)) {
      if (inputLeft == 0 && output == buffer) break;
      continue;
    }
    if (errno != E2BIG) {
      ok = false;
      break;
    }
  }
  iconv_close(cd);
  if (ok) *out = result;
  return ok;
}

}  // namespace

bool EntryNameFromHost(const std::string& host, std::string* entry) {
  return Convert("UTF-8", "CP932", host, entry);
}

bool HostNameFromEntry(const std::string& entry, std::string* host) {
  return Convert("CP932", "UTF-8", entry, host);
}

std::string ShowEntryName(const std::string& entry) {
  std::string utf8;
  return HostNameFromEntry(entry, &utf8) ? utf8 : EscapedBytes(entry);
}

std::string ShowHostName(const std::string& host) { return host; }

std::string HostBaseName(const std::string& path) {
  // The file system layer takes '\' for a separator as well, so a path written either way works.
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string JoinHostPath(const std::string& folder, const std::string& name) {
  // '/' and never '\': the file system layer reads paths as code page 932, where a '\' after
  // some UTF-8 bytes would look like the trail byte of a double-byte character.
  if (folder.empty()) return name;
  return folder.back() == '/' || folder.back() == '\\' ? folder + name : folder + "/" + name;
}

bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

std::string ProgramFolder() {
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  if (length <= 0 || size_t(length) >= sizeof path) return std::string();
  const std::string program(path, size_t(length));
  const size_t slash = program.find_last_of('/');
  return slash == 0 ? "/" : program.substr(0, slash);
}

namespace {

bool ToUtf16(const char* from, const std::string& in, std::u16string* text) {
  std::string bytes;
  if (!Convert(from, "UTF-16LE", in, &bytes)) return false;
  text->clear();
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    *text += char16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8);
  }
  return true;
}

}  // namespace

bool Utf16FromHost(const std::string& host, std::u16string* text) { return ToUtf16("UTF-8", host, text); }

bool Utf16FromEntry(const std::string& entry, std::u16string* text) {
  return ToUtf16("CP932", entry, text);
}

bool Cp932FromUtf8(const std::string& utf8, std::string* cp932) {
  // iconv takes some characters one way only (to a look-alike): the way back tells them.
  std::string converted, back;
  if (utf8.find('\0') != std::string::npos) return false;  // as on Windows, where it ends a text
  if (!Convert("UTF-8", "CP932", utf8, &converted) || !Convert("CP932", "UTF-8", converted, &back) ||
      back != utf8) {
    return false;
  }
  *cp932 = converted;
  return true;
}

}  // namespace zarc
