// Windows hosts: the entry point has converted the UTF-16 arguments to code page 932, and the
// file system takes code page 932 paths, so names need no conversion on the way in.
#include <windows.h>

#include <climits>
#include <cstdio>

#include "base/text.h"
#include "platform/win32/wide_text.h"
#include "zarc/system/console.h"
#include "zarc/system/host.h"
#include "zarc/system/wide_utf8.h"

namespace zarc {

namespace {

// Code page 932 text as UTF-8, the console's code page once the entry point has set it.
bool ToUtf8(const std::string& text, std::string* utf8) {
  std::wstring wide;
  return setup::ToWide(text.c_str(), &wide) && Utf8FromWide(wide.data(), wide.size(), utf8);
}

}  // namespace

bool Utf8FromWide(const wchar_t* text, size_t length, std::string* utf8) {
  utf8->clear();
  if (length == 0) return true;
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, int(length), nullptr, 0, nullptr, nullptr);
  if (size <= 0) return false;
  utf8->resize(size_t(size));
  return WideCharToMultiByte(CP_UTF8, 0, text, int(length), &(*utf8)[0], size, nullptr, nullptr) == size;
}

bool EntryNameFromHost(const std::string& host, std::string* entry) {
  std::wstring wide;
  if (!setup::ToWide(host.c_str(), &wide)) return false;
  *entry = host;
  return true;
}

bool HostNameFromEntry(const std::string& entry, std::string* host) {
  std::wstring wide;
  if (!setup::ToWide(entry.c_str(), &wide)) return false;
  *host = entry;
  return true;
}

std::string ShowEntryName(const std::string& entry) {
  std::string utf8;
  return ToUtf8(entry, &utf8) ? utf8 : EscapedBytes(entry);
}

std::string ShowHostName(const std::string& host) { return ShowEntryName(host); }

std::string HostBaseName(const std::string& path) {
  size_t start = path.size() >= 2 && path[1] == ':' ? 2 : 0;  // after a drive letter
  // A trail byte may be 0x5C without being a separator.
  for (size_t i = start; i < path.size(); i += setup::Cp932CharLength(&path[i])) {
    if (path[i] == '\\' || path[i] == '/') start = i + 1;
  }
  return path.substr(start);
}

std::string JoinHostPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  const bool separated = setup::LastSeparator(folder.c_str()) == long(folder.size()) - 1 ||
                         folder.back() == '/';
  return separated ? folder + name : folder + "\\" + name;
}

bool StandardErrorIsTerminal() {
  // A console has a mode; a file, a pipe and the NUL device have none.
  DWORD mode;
  return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

std::string ProgramFolder() {
  wchar_t path[32768];
  const DWORD length = GetModuleFileNameW(nullptr, path, DWORD(sizeof path / sizeof path[0]));
  std::string narrow;
  if (length == 0 || length >= sizeof path / sizeof path[0] || !setup::FromWide(path, &narrow)) {
    return std::string();
  }
  narrow.resize(narrow.size() - HostBaseName(narrow).size());
  if (narrow.size() > 1 && narrow.back() == '\\' && narrow[narrow.size() - 2] != ':') narrow.pop_back();
  return narrow;
}

// The host's form is code page 932 here.
bool Utf16FromHost(const std::string& host, std::u16string* text) { return Utf16FromEntry(host, text); }

bool Utf16FromEntry(const std::string& entry, std::u16string* text) {
  std::wstring wide;
  if (!setup::ToWide(entry.c_str(), &wide)) return false;
  text->assign(wide.begin(), wide.end());
  return true;
}

bool Cp932FromUtf8(const std::string& utf8, std::string* cp932) {
  if (utf8.empty()) {
    cp932->clear();
    return true;
  }
  if (utf8.size() > INT_MAX || utf8.find('\0') != std::string::npos) return false;
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()),
                                         nullptr, 0);
  if (length <= 0) return false;
  std::wstring wide(size_t(length), L'\0');
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), &wide[0],
                          length) != length) {
    return false;
  }
  // FromWide refuses best fits; the way back catches any other one-way mapping.
  std::string converted;
  std::wstring back;
  if (!setup::FromWide(wide.c_str(), &converted) || !setup::ToWide(converted.c_str(), &back) ||
      back != wide) {
    return false;
  }
  *cp932 = converted;
  return true;
}

}  // namespace zarc
