// What several layers take over the FileSystem interface, written once: asking whether a file is
// there, and the names of the new file written beside one it replaces (platform/replacing_file.h).
#pragma once

#include <cstddef>

#include "platform/file_system.h"

namespace setup {

// True when path names a file that can be opened.
bool FileExists(FileSystem& files, const char* path);

// Creates the folder path and every missing folder above it, either separator taken as one. True
// only when this call created path; false when it was there already or cannot be made.
bool CreateFolderPath(FileSystem& files, const char* path);

// A file that replaces another is written beside it first and then moved over it in one step, so
// the old one stays whole until the new one is complete. Its name is the path, this suffix and one
// digit: a pattern no user file carries, so a file of that name is what an earlier run left when
// it was killed, and is written over. The next replacement of the target thus takes it away, and
// leftovers never pile up to block one. Ten digits are tried, for a name that is held or read-only.
constexpr char kBesideSuffix[] = ".~zt";
constexpr size_t kBesideNameExtra = sizeof kBesideSuffix;  // the suffix and its digit
constexpr int kTemporaryNames = 10;

}  // namespace setup
