#include "zarc/pack/entry_name.h"

#include "archive/archive_format.h"
#include "base/text.h"

namespace zarc {

const char* EntryNameProblem(const std::string& name) {
  if (name.empty()) return "the entry name is empty";
  if (name.size() >= setup::kEntryNameCapacity) return "the entry name is longer than 51 bytes";
  if (name.find('\0') != std::string::npos) return "the entry name holds a NUL byte";
  // '/' can only be the ASCII slash: code page 932 trail bytes start at 0x40.
  if (name.find('/') != std::string::npos) return "the entry name holds a '/'";
  return nullptr;
}

const char* SplitExtractPath(const std::string& name, std::vector<std::string>* parts) {
  if (const char* problem = EntryNameProblem(name)) return problem;
  if (name[0] == '\\') return "the name starts at a root folder";
  parts->clear();
  std::string part;
  // A trail byte may be 0x5C without being a separator.
  for (size_t i = 0, length; i < name.size(); i += length) {
    length = setup::Cp932CharLength(&name[i]);
    if (name[i] == ':') return "the name holds a ':' (a drive letter or a stream)";
    if (name[i] == '\\') {
      parts->push_back(part);
      part.clear();
    } else {
      part.append(name, i, length);
    }
  }
  parts->push_back(part);
  for (const std::string& p : *parts) {
    if (p.empty()) return "the name has an empty folder part";
    // Windows drops trailing dots and spaces, so "..." and ".. " would climb like "..".
    if (p.find_first_not_of(". ") == std::string::npos) return "the name has a '..' or '.' part";
  }
  return nullptr;
}

}  // namespace zarc
