// What makes a code page 932 name a good entry name, and a safe file name to extract to.
#pragma once

#include <string>
#include <vector>

namespace zarc {

// Why the setup program could not look this name up, or null when it can: empty, over 51 bytes,
// holding a '/' (its lookup key is the part after the last '/') or a NUL.
const char* EntryNameProblem(const std::string& name);

// Splits an entry name into the folders and the file that extracting it makes: '\' separates
// (never the trail byte of a double-byte character). Null when every part is an ordinary name;
// otherwise why extracting it could write outside the target folder (a root, a drive letter, an
// empty part, or a part of dots and spaces such as "..").
const char* SplitExtractPath(const std::string& name, std::vector<std::string>* parts);


}  // namespace zarc
