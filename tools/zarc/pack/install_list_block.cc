#include "zarc/pack/install_list_block.h"

#include "zarc/system/host.h"
#include "zarc/pack/text_conversion.h"

namespace zarc {

namespace {

// The ASCII start by which a later run finds the block again, whatever follows it.
const char kBeginMark[] = "//zarc list-folder begin";

bool StartsWith(const std::string& line, const char* start) {
  return line.compare(0, std::char_traits<char>::length(start), start) == 0;
}

// One line of the script and its break as written: CR LF, LF, CR, or none after the last.
struct Line {
  std::string text;
  std::string lineBreak;
};

std::vector<Line> SplitLines(const std::vector<uint8_t>& script) {
  std::vector<Line> lines;
  std::string text;
  for (size_t i = 0; i < script.size(); ++i) {
    const char c = char(script[i]);
    if (c != '\n' && c != '\r') {
      text += c;
      continue;
    }
    std::string lineBreak(1, c);
    if (c == '\r' && i + 1 < script.size() && script[i + 1] == '\n') lineBreak += char(script[++i]);
    lines.push_back(Line{text, lineBreak});
    text.clear();
  }
  if (!text.empty()) lines.push_back(Line{text, std::string()});
  return lines;
}

}  // namespace

const char kListBlockEnd[] = "//zarc list-folder end";

std::string ListBlockBegin(const std::string& folderName) {
  return std::string(kBeginMark) + ": the files of " + folderName +
         "; \"zarc list-folder\" writes the lines up to the end mark anew";
}

std::vector<std::string> InstallListLines(const FolderTree& tree) {
  std::vector<std::string> lines;
  for (const std::string& folder : tree.folders) lines.push_back("#F=" + folder);
  for (const FolderTree::File& file : tree.files) {
    // The name is a tail of whole components of the relative path, so the part before it, if
    // any, ends in the '\' that becomes '/'.
    std::string value = file.relative;
    if (value.size() > file.entryName.size()) value[value.size() - file.entryName.size() - 1] = '/';
    lines.push_back("#I=" + value);
  }
  return lines;
}

bool PutListBlock(const std::vector<uint8_t>& script, const std::string& folderName,
                  const std::vector<std::string>& lines, std::vector<uint8_t>* result,
                  std::string* problem) {
  const std::vector<Line> old = SplitLines(script);
  size_t begin = old.size(), end = old.size();
  for (size_t i = 0; i < old.size(); ++i) {
    if (StartsWith(old[i].text, kBeginMark)) {
      if (begin != old.size()) {
        *problem = "it holds two blocks of zarc list-folder (line " + std::to_string(begin + 1) +
                   " and line " + std::to_string(i + 1) + "); remove one";
        return false;
      }
      begin = i;
    } else if (old[i].text == kListBlockEnd && begin != old.size() && end == old.size()) {
      end = i;
    }
  }
  if (begin != old.size() && end == old.size()) {
    *problem = "the block of zarc list-folder begun on line " + std::to_string(begin + 1) +
               " has no end mark (" + kListBlockEnd + ")";
    return false;
  }

  int line = 0;
  const bool utf8 = (script.size() >= 3 && script[0] == 0xEF && script[1] == 0xBB &&
                     script[2] == 0xBF) ||
                    ReadsAsUtf8(script, &line);
  std::string lineBreak = "\r\n";
  for (size_t i = 0; i < script.size(); ++i) {
    if (script[i] == '\r') break;
    if (script[i] == '\n') {
      lineBreak = "\n";
      break;
    }
  }
  std::vector<std::string> block{ListBlockBegin(folderName)};
  block.insert(block.end(), lines.begin(), lines.end());
  block.push_back(kListBlockEnd);
  // Names came from the host's form, so they convert back; the marks are ASCII.
  if (utf8) {
    for (std::string& text : block) text = ShowEntryName(text);
  }

  // What is kept goes in byte for byte, breaks included; a last line without one gets one, since
  // the block must start on a line of its own.
  std::string text;
  const size_t keepTo = begin == old.size() ? old.size() : begin;
  for (size_t i = 0; i < keepTo; ++i) {
    text += old[i].text + (old[i].lineBreak.empty() ? lineBreak : old[i].lineBreak);
  }
  if (begin == old.size() && !old.empty() && !old.back().text.empty()) text += lineBreak;
  for (const std::string& l : block) text += l + lineBreak;
  for (size_t i = end + 1; i < old.size(); ++i) text += old[i].text + old[i].lineBreak;
  result->assign(text.begin(), text.end());
  return true;
}

}  // namespace zarc
