// The registry on the host: an in-memory tree that behaves like the Windows registry in what the
// program relies on.
//
//   - Opening creates every missing key on the path; an empty path is the root itself.
//   - Paths are '\'-separated code page 932: a 0x5C that is the trail byte of a double-byte
//     character ("ソフト" is 83 5C 83 74 83 67) is part of the name. Repeated and trailing
//     separators are ignored and a leading one is refused, as Windows does.
//   - Key and value names are compared ignoring case as Windows compares names (SameCp932Name):
//     ASCII, full-width Latin, Greek and Cyrillic letters; a trail byte is no letter.
//   - Strings keep their exact bytes; UTF-16 ones read back only when they are ASCII. Text with a cut-off or malformed double-byte character is
//     refused, as the Win32 conversion refuses it.
//   - Only a leaf key can be deleted. A key deleted (or whose registry is destroyed) while it is
//     open stays a valid object: its calls fail, or for a destroyed registry keep working on the
//     detached tree.
#pragma once

#include <memory>
#include <string>

#include "platform/registry.h"

namespace setup {

struct MemoryRegistryTree;

class MemoryRegistry : public Registry {
 public:
  MemoryRegistry();
  ~MemoryRegistry() override;

  std::unique_ptr<RegistryKey> OpenOrCreate(RegistryRoot root, const char* path) override;

  // For tests. Whether root\path exists, without creating anything.
  bool KeyExists(RegistryRoot root, const char* path) const;
  // Every key below root (the root itself only when it holds values) with its values, in name
  // order, one line each:
  //   [.Default\Software\Maker]
  //   "MainPath"="C:\Maker"
  //   "Version"=dword:5
  //   "Publisher"=u"Corvane"      (stored as UTF-16, shown in UTF-8)
  std::string Dump(RegistryRoot root) const;
  // While set, OpenOrCreate fails as if no key could be opened or created.
  void FailOpens(bool fail);

 private:
  // Shared with every key opened, so that keys may outlive the registry.
  std::shared_ptr<MemoryRegistryTree> tree_;
};

}  // namespace setup
