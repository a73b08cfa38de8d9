// What the package checks share while they run over one package: what the archive check found of
// its records, where the script's commands are, and the findings so far. Each check (archive,
// text, script, install list, free space, pictures) lives in a file of its own.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "zarc/check/package.h"
#include "zarc/check/package_check.h"

namespace zarc {

struct CheckRun {
  explicit CheckRun(Package& checked) : package(checked) {}

  void Error(const std::string& entry, int line, const std::string& message);
  void Warn(const std::string& entry, int line, const std::string& message);
  int ListLine(int index) const;       // the line of install command index, or 0
  int SettingLine(char letter) const;  // the line of the last such setting command, or 0

  Package& package;
  std::set<std::string> external;    // records the program reads from its folder at run time
  std::set<std::string> bad;         // records it cannot deliver, reported already
  std::map<char, int> settingLines;  // the last line of each setting command: the one that holds
  std::vector<int> listLines;        // the line of each install command, in list order
  std::vector<Finding> findings;
};

// An entry's name, quoted, for a message.
std::string Show(const std::string& entry);
std::string Plural(size_t count, const char* word);

// The records: each must be one the program can deliver; a bad one is reported once and the
// checks below leave its contents alone.
void CheckRecords(CheckRun& run);
// Loads an entry the program needs. False, after saying why, when it is missing (then missing
// says what follows), external (not in the package to check) or bad (reported already).
bool LoadNeeded(CheckRun& run, const std::string& name, const std::string& missing,
                std::vector<uint8_t>* bytes);

// One line as the program's line reader delivers it, and how it ended in the bytes.
enum class LineEnd { kCrLf, kLf, kCrAlone, kNone };
struct TextLine {
  int number;
  size_t start;
  size_t length;  // the bytes before the line break
  LineEnd end;
  std::string text;  // what the reader gave: up to the first NUL
};
// Reads text line by line with the program's line reader into a buffer of capacity bytes. Returns
// the lines it delivers; *stopLine is the 1-based line at which it stopped early (a line that does
// not fit, or a last line without a break), or 0 when it read to the end.
std::vector<TextLine> ReadLines(const std::vector<uint8_t>& bytes, uint32_t capacity,
                                int* stopLine);
bool StartsWithUtf8Mark(const std::vector<uint8_t>& text);
// Line breaks, code page and byte-order mark of a text the program shows or reads.
void CheckText(CheckRun& run, const std::string& entry, const std::vector<uint8_t>& bytes,
               const std::vector<TextLine>& lines);
void CheckLicence(CheckRun& run);

// The script's lines, then what the program's parser makes of it, then the checks below on that.
void CheckScript(CheckRun& run);
// #I names entries of the package; files go into folders made before them; #E #R #U name files
// the install puts in place; #C and #H from the folder the program starts from are marked
// readsStartFolder.
void CheckInstallList(CheckRun& run, const setup::PackageScript& script);
// The file the program writes an install-list value to, installDir\value, as Windows resolves it
// (base/windows_path.h): the install folder stands as the root "C:", so a value that climbs out of
// it comes out uncertain. False when the file is not certain, and may then be any.
bool InstalledPath(const std::string& value, std::string* path);
// #D covers what the files take.
void CheckRequiredSpace(CheckRun& run, const setup::PackageScript& script);

void CheckPicture(CheckRun& run, const std::string& name);

}  // namespace zarc
