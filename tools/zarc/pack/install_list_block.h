// The install list of a product folder, written into a publisher's setup.txt between comment
// lines of zarc's own, so that the next release's list replaces it and nothing else.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "zarc/pack/folder_tree.h"

namespace zarc {

// The lines that install the tree into the install folder (code page 932, no line breaks): an #F
// for every folder, parents first, then an #I for every file. An #I's lookup key is the part after
// its last '/' and Windows reads that '/' as a separator, so the '/' goes in front of the entry's
// name: "lib\core/x.pyd" finds the entry "x.pyd" and writes lib\core\x.pyd.
std::vector<std::string> InstallListLines(const FolderTree& tree);

// The comment lines that begin and end the block (code page 932). begin names the folder.
std::string ListBlockBegin(const std::string& folderName);
extern const char kListBlockEnd[];

// script with the block put in (lines, code page 932, begun by ListBlockBegin(folderName)): in
// place of the block written before, or after the last line when there is none. The script keeps
// its line breaks (CR LF unless its first break is a lone LF) and its encoding: a script in UTF-8
// (a byte-order mark, or UTF-8 beyond ASCII) gets the block in UTF-8, any other code page 932.
// False when the script holds a begin without an end, or two blocks: *problem says so.
bool PutListBlock(const std::vector<uint8_t>& script, const std::string& folderName,
                  const std::vector<std::string>& lines, std::vector<uint8_t>* result,
                  std::string* problem);

}  // namespace zarc
