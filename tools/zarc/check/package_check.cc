// The package checks run the setup program's own archive reader, script parser and picture loader
// on the package, so that a check and the program can never disagree. The parser tells only
// whether it took the script; a light walk of the script's lines beside it, through the program's
// own line reader, says on which line and why.
#include "zarc/check/package_check.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <system_error>
#include <thread>

#include "app/picture.h"
#include "archive/memory_stream.h"
#include "archive/package_archive.h"
#include "base/text.h"
#include "model/control_ids.h"
#include "model/setup_state.h"
#include "model/texts.h"
#include "script/install_script.h"
#include "zarc/host/host.h"
#include "zarc/pack/archive_file.h"
#include "zarc/pack/text_conversion.h"

namespace zarc {

namespace {

const char kScript[] = "setup.txt";

// Inflates the records marked in which, on every processor, and writes into (*problems)[i] why
// record i cannot be read. On one thread the check took as long again as a tenth of the packing.
void InflateRecords(const LoadedArchive& archive, const std::vector<char>& which,
                    std::vector<std::string>* problems) {
  std::atomic<uint32_t> next{0};
  auto work = [&] {
    for (uint32_t i; (i = next++) < archive.count;) {
      if (!which[i]) continue;
      std::unique_ptr<uint8_t[]> data;
      std::string why;
      if (!InflateRecord(archive, i, &data, &why)) (*problems)[i] = why.empty() ? "it cannot be inflated" : why;
    }
  };
  const unsigned threads = std::min(std::max(std::thread::hardware_concurrency(), 1u), 8u);
  std::vector<std::thread> helpers;
  try {
    while (helpers.size() + 1 < threads) helpers.emplace_back(work);
  } catch (const std::system_error&) {
    // Fewer threads only take longer.
  }
  work();
  for (std::thread& helper : helpers) helper.join();
}
const char* const kPictures[] = {"setup256.bmp", "parts.bmp"};
constexpr uint32_t kScriptLineCapacity = 512;  // the parser's line buffer
constexpr uint64_t kMegabyte = 1 << 20;

// The program reads entries through the package archive, which would also take files of the
// current directory for entries; a check must see the package alone.
class NoFiles : public setup::FileSystem {
 public:
  bool ReadWholeFile(const char*, uint8_t**, uint32_t*) override { return false; }
  bool FileSize(const char*, uint64_t*) override { return false; }
  bool ListFolder(const char*, setup::FolderVisitor&) override { return false; }
  bool CurrentFolder(char*, uint32_t) override { return false; }
  bool ChangeFolder(const char*) override { return false; }
  bool MakeFolder(const char*) override { return false; }
  bool RemoveEmptyFolder(const char*) override { return false; }
  bool RemoveFile(const char*) override { return false; }
  std::unique_ptr<setup::OutputFile> OpenForWriting(const char*, setup::WriteMode) override {
    return nullptr;
  }
  bool MoveOver(const char*, const char*) override { return false; }
  bool CopyFileOver(const char*, const char*) override { return false; }
  bool SetNormalAttributes(const char*) override { return false; }
};

// The package as the program's built-in resource.
class PackageResource : public setup::ProgramResources {
 public:
  PackageResource(const uint8_t* data, uint32_t size) : data_(data), size_(size) {}
  bool FindPackage(const char*, const uint8_t**, uint32_t*) override { return false; }
  bool FindPackage(int, const uint8_t** data, uint32_t* size) override {
    *data = data_;
    *size = size_;
    return true;
  }

 private:
  const uint8_t* data_;
  uint32_t size_;
};

// The program's archive and setup state are process-wide; a check borrows them (so checks never
// run side by side) and leaves them closed and reset. An archive someone else opened is left
// alone, and the check cannot run.
class BorrowedProgramState {
 public:
  BorrowedProgramState(const uint8_t* image, uint32_t size) : resource_(image, size) {
    if (setup::packageArchive.image != nullptr) return;
    setup::ResetSetupState();
    opened_ = setup::OpenPackage(noFiles_, resource_, IDR_PACKAGE);
  }
  ~BorrowedProgramState() {
    if (!opened_) return;
    setup::ClosePackage();
    setup::ResetSetupState();
  }
  bool opened() const { return opened_; }

 private:
  NoFiles noFiles_;
  PackageResource resource_;
  bool opened_ = false;
};

std::string Show(const std::string& entry) { return Quoted(ShowEntryName(entry)); }

std::string Plural(size_t count, const char* word) {
  return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

// Offset of the first character of text that has no code page 932 form, or npos. The host's own
// conversion decides, as the system's does for the setup program.
size_t FirstNonCp932(const uint8_t* text, size_t size) {
  std::string unused;
  if (HostNameFromEntry(std::string(text, text + size), &unused)) return std::string::npos;
  for (size_t i = 0; i < size;) {
    const size_t length = setup::IsCp932LeadByte(text[i]) && i + 1 < size ? 2 : 1;
    if (!HostNameFromEntry(std::string(text + i, text + i + length), &unused)) return i;
    i += length;
  }
  return 0;
}

bool StartsWithUtf8Mark(const std::vector<uint8_t>& text) {
  return text.size() >= 3 && text[0] == 0xEF && text[1] == 0xBB && text[2] == 0xBF;
}

// File names as Windows compares them: ASCII letters in either case are the same, the bytes of
// double-byte characters are not letters.
std::string FoldedName(const std::string& name) {
  std::string folded = name;
  for (size_t i = 0; i < folded.size(); ++i) {
    const uint8_t b = uint8_t(folded[i]);
    if (setup::IsCp932LeadByte(b)) {
      ++i;
    } else if (b >= 'A' && b <= 'Z') {
      folded[i] = char(b - 'A' + 'a');
    }
  }
  return folded;
}

// The folder of a path in the install folder, as Windows resolves it: '\\' and '/' separate, empty
// and "." names drop out, letters are folded as FoldedName does; "" is the install folder itself.
// ".." when the path climbs, which this check leaves alone rather than guess at.
std::string FolderOf(const std::string& path) {
  std::vector<std::string> names(1);
  for (size_t i = 0; i < path.size(); ++i) {
    const uint8_t b = uint8_t(path[i]);
    if (b == '\\' || b == '/') {
      names.emplace_back();
    } else {
      names.back() += path[i];
      if (setup::IsCp932LeadByte(b) && i + 1 < path.size()) names.back() += path[++i];
    }
  }
  names.pop_back();  // the file's own name
  std::string folder;
  for (const std::string& name : names) {
    if (name.empty() || name == ".") continue;
    if (name == "..") return "..";
    folder += (folder.empty() ? "" : "\\") + FoldedName(name);
  }
  return folder;
}

// One line as the program's line reader delivers it, and how it ended in the bytes.
enum class LineEnd { kCrLf, kLf, kCrAlone, kNone };
struct TextLine {
  int number;
  size_t start;
  size_t length;  // the bytes before the line break
  LineEnd end;
  std::string text;  // what the reader gave: up to the first NUL
};

// Reads text line by line with MemoryStream::ReadLine into a buffer of capacity bytes, as the
// program does. Returns the lines it delivers; *stopLine is the 1-based line at which it stopped
// early (a line that does not fit, or a last line without a break), or 0 when it read to the end.
std::vector<TextLine> ReadLines(const std::vector<uint8_t>& bytes, uint32_t capacity, int* stopLine) {
  std::vector<TextLine> lines;
  setup::MemoryStream stream;
  uint8_t* copy = new uint8_t[bytes.size() + 1];
  std::copy(bytes.begin(), bytes.end(), copy);
  stream.Adopt(copy, uint32_t(bytes.size()));
  std::vector<char> buffer(capacity);
  *stopLine = 0;
  for (int number = 1;; ++number) {
    const size_t start = stream.Position();
    if (start >= bytes.size()) break;
    if (stream.ReadLine(buffer.data(), capacity) == nullptr) {
      *stopLine = number;
      break;
    }
    size_t t = start;
    while (bytes[t] != '\r' && bytes[t] != '\n') ++t;  // the reader found one
    LineEnd end = LineEnd::kLf;
    if (bytes[t] == '\r') {
      end = t + 1 < bytes.size() && bytes[t + 1] == '\n' ? LineEnd::kCrLf : LineEnd::kCrAlone;
    }
    lines.push_back(TextLine{number, start, t - start, end, std::string(buffer.data())});
  }
  stream.Release();
  return lines;
}

class Checker {
 public:
  explicit Checker(const std::vector<unsigned char>& image) : image_(image) {}

  std::vector<Finding> Run() {
    if (!CheckArchive()) return Sorted();
    BorrowedProgramState state(image_.data(), uint32_t(image_.size()));
    if (!state.opened()) {
      Error("", 0, "the setup program cannot open this package");
      return Sorted();
    }
    CheckScript();
    CheckLicence();
    for (const char* picture : kPictures) CheckPicture(picture);
    return Sorted();
  }

 private:
  void Error(const std::string& entry, int line, const std::string& message) {
    findings_.push_back(Finding{true, entry, line, message});
  }
  void Warn(const std::string& entry, int line, const std::string& message) {
    findings_.push_back(Finding{false, entry, line, message});
  }

  std::vector<Finding> Sorted() {
    std::stable_sort(findings_.begin(), findings_.end(), [](const Finding& a, const Finding& b) {
      return a.entry != b.entry ? a.entry < b.entry : a.line < b.line;
    });
    return findings_;
  }

  // Every record must be one the program can deliver; a bad one is reported here once, and the
  // checks below leave its contents alone.
  bool CheckArchive() {
    if (image_.size() >= (uint64_t(1) << 32)) {
      Error("", 0, "the package is 4 GiB or larger; the setup program reads only smaller ones");
      return false;
    }
    archive_.size = uint32_t(image_.size());
    archive_.image.reset(new uint8_t[image_.size() + 1]);
    std::copy(image_.begin(), image_.end(), archive_.image.get());
    std::string why;
    if (!IndexArchive(&archive_, &why)) {
      Error("", 0, why);
      return false;
    }
    std::vector<std::string> problems(archive_.count);
    std::vector<char> hidden(archive_.count, 0), inflated(archive_.count, 0);
    for (uint32_t i = 0; i < archive_.count; ++i) {
      problems[i] = RecordProblem(archive_, i);
      const std::string name = RecordName(archive_.table[i]);
      for (uint32_t later = i + 1; later < archive_.count && !hidden[i]; ++later) {
        hidden[i] = setup::EntryNameIs(archive_.table[later], name.c_str());
      }
      inflated[i] = !hidden[i] && problems[i].empty() && archive_.table[i].storedSize != 0;
    }
    InflateRecords(archive_, inflated, &problems);
    for (uint32_t i = 0; i < archive_.count; ++i) {
      const std::string name = RecordName(archive_.table[i]);
      why = problems[i];
      if (hidden[i]) {  // the later record is the one the program reads, and is checked on its own
        Warn(name, 0, "entry " + std::to_string(i) + " is never read: " + why);
        continue;
      }
      if (why.empty() && archive_.table[i].storedSize == 0) {
        external_.insert(name);
        continue;
      }
      if (why.empty()) continue;
      Error(name, 0, "entry " + std::to_string(i) + " cannot be read: " + why);
      bad_.insert(name);
    }
    return true;
  }

  // Loads an entry the program needs. False, after saying why, when it is missing, external (not
  // in the package to check) or bad (reported already).
  bool LoadNeeded(const std::string& name, const std::string& missing, std::vector<uint8_t>* bytes) {
    if (!setup::HasPackageEntry(name.c_str())) {
      Error(name, 0, "not in the package: " + missing);
      return false;
    }
    if (external_.count(name) != 0) {
      Warn(name, 0, "external: the setup program reads it from its own folder at run time, so it "
                    "is not checked here");
      return false;
    }
    setup::MemoryStream stream;
    if (bad_.count(name) != 0 || !stream.LoadEntry(name.c_str())) return false;
    const uint8_t* data = stream.CurrentData();
    bytes->assign(data, data + stream.Size());
    stream.Release();
    return true;
  }

  // Line breaks, code page and byte-order mark of a text the program shows or reads.
  void CheckText(const std::string& entry, const std::vector<uint8_t>& bytes,
                 const std::vector<TextLine>& lines) {
    if (StartsWithUtf8Mark(bytes)) {
      Warn(entry, 1, "begins with a UTF-8 byte-order mark (EF BB BF); save it as code page 932 "
                     "without one");
    }
    const TextLine* firstBreak = nullptr;
    size_t badBreaks = 0;
    const TextLine* firstText = nullptr;
    size_t badTexts = 0;
    size_t badAt = 0;
    for (const TextLine& line : lines) {
      if (line.end != LineEnd::kCrLf) {
        if (badBreaks++ == 0) firstBreak = &line;
      }
      const size_t at = FirstNonCp932(bytes.data() + line.start, line.length);
      if (at != std::string::npos) {
        if (badTexts++ == 0) {
          firstText = &line;
          badAt = at;
        }
      }
    }
    if (firstBreak != nullptr) {
      std::string message = firstBreak->end == LineEnd::kLf
                                ? "ends in LF alone, not CR LF"
                                : "ends in CR alone, not CR LF; the setup program takes the byte "
                                  "after it for LF and drops it";
      if (badBreaks > 1) message += " (" + Plural(badBreaks - 1, "more line") + " too)";
      Warn(entry, firstBreak->number, message);
    }
    // UTF-8 Japanese is mostly valid code page 932 too, so only its look gives it away.
    int utf8Line = 0;
    if (ReadsAsUtf8(bytes, &utf8Line)) {
      Error(entry, utf8Line, "the text reads as UTF-8, so the setup program would show it garbled; "
                             "save it as code page 932 (Shift_JIS) with CR LF, or pack it with "
                             "--from-utf8 to convert it");
    } else if (firstText != nullptr) {
      char byte[8];
      setup::FormatText(byte, sizeof byte, "0x%02X", bytes[firstText->start + badAt]);
      std::string message = "not valid code page 932 text (byte " + std::string(byte) +
                            " at column " + std::to_string(badAt + 1) + ")";
      if (badTexts > 1) message += " (" + Plural(badTexts - 1, "more line") + " too)";
      Warn(entry, firstText->number, message);
    }
  }

  void CheckScript() {
    std::vector<uint8_t> bytes;
    if (!LoadNeeded(kScript, "the setup program would end without a window", &bytes)) return;
    int stopLine = 0;
    const std::vector<TextLine> lines = ReadLines(bytes, kScriptLineCapacity, &stopLine);
    WalkScript(bytes, lines, stopLine);
    CheckText(kScript, bytes, lines);
    if (!setup::ParseInstallScript(kScript)) {
      if (refusal_.empty()) {
        Error(kScript, 0, "the setup program refuses this script, so it would end without a window");
      } else {
        Error(kScript, refusalLine_, refusal_ + "; the setup program refuses such a script, so it "
                                               "would end without a window");
      }
      return;
    }
    CheckInstallList();
    CheckFolders();
    CheckNamedFiles();
    CheckRequiredSpace();
  }

  // Notes where each command is, what the parser will refuse, and the commands it would miss.
  void WalkScript(const std::vector<uint8_t>& bytes, const std::vector<TextLine>& lines,
                  int stopLine) {
    for (const TextLine& line : lines) {
      // Whatever this line holds, a lone CR at its end costs the next line its first byte.
      if (line.end == LineEnd::kCrAlone && line.start + line.length + 1 < bytes.size() &&
          bytes[line.start + line.length + 1] == '#') {
        Error(kScript, line.number + 1, "the line before ends in CR alone, so the setup program "
                                        "drops this line's '#' and ignores its command");
      }
      if (line.number == 1 && StartsWithUtf8Mark(bytes) && line.text.size() > 3 &&
          line.text[3] == '#') {
        Error(kScript, 1, "the byte-order mark hides this line's command from the setup program");
      }
      if (line.text.empty() || line.text[0] != '#') continue;
      if (line.text.size() < 2) {
        Warn(kScript, line.number, "'#' alone is no command; the setup program ignores this line");
        continue;
      }
      const char letter = line.text[1];
      const std::string value = line.text.size() >= 3 ? line.text.substr(3) : std::string();
      if (strchr("GPTERSNMUDV", letter) != nullptr) {
        settingLines_[letter] = line.number;
        if (letter == 'V') CheckVersion(line.number, value);
        if (letter != 'D' && letter != 'V' && value.size() >= setup::kPathCapacity) {
          Refuse(line.number, std::string("the value of #") + letter + " is " +
                                  std::to_string(value.size()) + " bytes; at most " +
                                  std::to_string(setup::kPathCapacity - 1) + " fit");
        }
      } else if (strchr("IFCHXZ", letter) != nullptr) {
        listLines_.push_back(line.number);
        if (listLines_.size() > size_t(setup::kMaxInstallEntries)) {
          Refuse(line.number, "more than " + std::to_string(setup::kMaxInstallEntries) +
                                  " install commands (#I #F #C #H #X #Z)");
        } else if (value.size() >= setup::kInstallTextCapacity) {
          Refuse(line.number, std::string("the value of #") + letter + " is " +
                                  std::to_string(value.size()) + " bytes; at most " +
                                  std::to_string(setup::kInstallTextCapacity - 1) + " fit");
        }
      } else {
        Warn(kScript, line.number, "\"#" + ShowEntryName(std::string(1, letter)) +
                                       "\" is no command; the setup program ignores this line "
                                       "(commands are #C #D #E #F #G #H #I #M #N #P #R #S #T #U "
                                       "#V #X #Z, upper case)");
        continue;
      }
      if (line.text.size() >= 3 && line.text[2] != '=') {
        Warn(kScript, line.number, std::string("the byte after #") + letter +
                                       " is not '='; the setup program skips it whatever it is, "
                                       "so the value is " + Show(value));
      }
    }
    if (stopLine != 0) ReportStop(bytes, lines, stopLine);
  }

  // #V must be one whole number the program takes: anything else would leave the version at an
  // earlier one (or 5) and a release that cannot upgrade the one before it.
  void CheckVersion(int line, const std::string& value) {
    uint32_t version = 0;
    const char* rest = nullptr;
    const bool read = setup::ParsePackageVersion(value.c_str(), &version, &rest);
    if (read && *rest == '\0') return;
    std::string message = "#V " + Show(value) +
                          " is not a version the setup program takes (one whole number from 1 to "
                          "4294967295)";
    message += read ? "; it reads only " + std::to_string(version) + " of it"
                    : "; it ignores the line, and the version stays an earlier #V's, or 5";
    Error(kScript, line, message);
  }

  void Refuse(int line, const std::string& why) {
    if (!refusal_.empty()) return;  // the parser stops at the first
    refusal_ = why;
    refusalLine_ = line;
  }

  // The line reader stopped before the end: that line and all after it are never read.
  void ReportStop(const std::vector<uint8_t>& bytes, const std::vector<TextLine>& lines,
                  int stopLine) {
    const size_t start = lines.empty() ? 0 : lines.back().start + lines.back().length +
                                                 (lines.back().end == LineEnd::kLf ? 1 : 2);
    size_t end = start;
    while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') ++end;
    bool commandLost = start < bytes.size() && bytes[start] == '#';
    for (size_t i = end; i + 1 < bytes.size() && !commandLost; ++i) {
      commandLost = (bytes[i] == '\n' || bytes[i] == '\r') && bytes[i + 1] == '#';
    }
    std::string message;
    if (end < bytes.size() || end - start > kScriptLineCapacity - 2) {
      message = "the line is " + std::to_string(end - start) + " bytes, longer than the " +
                std::to_string(kScriptLineCapacity - 2) +
                " the setup program reads; it stops reading the script here and ignores this line "
                "and every line after it";
    } else {
      message = "the last line has no line break, so the setup program ignores it";
    }
    if (commandLost) {
      Error(kScript, stopLine, message);
    } else if (end < bytes.size() || end > start) {
      Warn(kScript, stopLine, message);
    }
  }

  int ListLine(int index) const {
    return size_t(index) < listLines_.size() ? listLines_[size_t(index)] : 0;
  }

  int SettingLine(char letter) const {
    const auto found = settingLines_.find(letter);
    return found == settingLines_.end() ? 0 : found->second;
  }

  void CheckInstallList() {
    const setup::InstallList& list = setup::setupState.installList;
    for (int i = 0; i < list.count; ++i) {
      const setup::InstallEntry& entry = list.entries[i];
      if (entry.type == setup::kExtractEntry && !setup::HasPackageEntry(entry.text)) {
        Error(kScript, ListLine(i), "#I names " + Show(entry.text) + ", which is not in the package");
      }
    }
  }

  // A file's folder must be there when a fresh setup writes it: the install folder, one an earlier
  // #F makes (with every level above it), or one an earlier #H makes or may fill from the medium.
  void CheckFolders() {
    std::set<std::string> made{""};
    std::vector<std::string> trees;
    const setup::InstallList& list = setup::setupState.installList;
    for (int i = 0; i < list.count; ++i) {
      const setup::InstallEntry& entry = list.entries[i];
      const std::string text = entry.text;
      const size_t comma = text.find(',');
      const std::string first = text.substr(0, comma);
      const std::string second = comma == std::string::npos ? first : text.substr(comma + 1);
      std::string written;
      char letter = 0;
      switch (entry.type) {
        case setup::kMakeFolder:
          // FolderOf of a path inside it gives the folder itself, then each level above it.
          for (std::string level = FolderOf(text + "\\x"); !level.empty() && level != "..";
               level = FolderOf(level)) {
            made.insert(level);
          }
          continue;
        case setup::kCopyTree:
          made.insert(FolderOf(second + "\\x"));
          trees.push_back(FolderOf(second + "\\x") + "\\");
          continue;
        case setup::kExtractEntry: written = text, letter = 'I'; break;
        case setup::kCopyFile: written = second, letter = 'C'; break;
        case setup::kWriteNewFile: written = first, letter = 'X'; break;
        default: continue;
      }
      const std::string folder = FolderOf(written);
      if (folder == ".." || made.count(folder) != 0) continue;
      bool inTree = false;
      for (const std::string& tree : trees) inTree = inTree || folder.compare(0, tree.size(), tree) == 0;
      if (inTree) continue;
      Error(kScript, ListLine(i), std::string("#") + letter + " writes " + Show(written) +
                                      " into a folder that no #F or #H before it makes, so every "
                                      "fresh setup fails there");
    }
  }

  // #E, #R and #U name files the install should put in place.
  void CheckNamedFiles() {
    std::set<std::string> installed;
    std::vector<std::string> trees;
    const setup::InstallList& list = setup::setupState.installList;
    for (int i = 0; i < list.count; ++i) {
      const std::string text = list.entries[i].text;
      const size_t comma = text.find(',');
      const std::string first = text.substr(0, comma);
      const std::string second = comma == std::string::npos ? first : text.substr(comma + 1);
      switch (list.entries[i].type) {
        case setup::kExtractEntry: installed.insert(FoldedName(text)); break;
        case setup::kCopyFile: installed.insert(FoldedName(second)); break;
        case setup::kWriteNewFile: installed.insert(FoldedName(first)); break;
        case setup::kCopyTree: trees.push_back(FoldedName(second) + "\\"); break;
        default: break;
      }
    }
    const setup::SetupState& s = setup::setupState;
    const struct {
      char letter;
      const char* name;
      const char* what;
    } named[] = {{'E', s.executableName, "program"},
                 {'R', s.readmeName, "readme"},
                 {'U', s.uninstallerName, "uninstaller"}};
    for (const auto& file : named) {
      if (file.name[0] == '\0') continue;
      const std::string folded = FoldedName(file.name);
      bool found = installed.count(folded) != 0;
      for (const std::string& tree : trees) found = found || folded.compare(0, tree.size(), tree) == 0;
      if (!found) {
        Warn(kScript, SettingLine(file.letter),
             std::string("#") + file.letter + " names the " + file.what + " " + Show(file.name) +
                 ", which no #I, #C or #X installs");
      }
    }
  }

  // #D must cover what the files take, or the free-space test lets too small a disk pass.
  void CheckRequiredSpace() {
    uint64_t total = 0;
    std::set<std::string> counted;
    const setup::InstallList& list = setup::setupState.installList;
    for (int i = 0; i < list.count; ++i) {
      const setup::InstallEntry& entry = list.entries[i];
      if (entry.type == setup::kWriteNewFile) {
        const char* comma = strchr(entry.text, ',');
        if (comma != nullptr) total += strlen(comma + 1);
      }
      if (entry.type != setup::kExtractEntry) continue;
      const std::string key = setup::BaseName(entry.text);
      if (!counted.insert(FoldedName(entry.text)).second) continue;
      for (uint32_t r = archive_.count; r-- > 0;) {
        if (RecordName(archive_.table[r]) == key) {
          total += archive_.table[r].fullSize;
          break;
        }
      }
    }
    const int64_t required = setup::setupState.requiredMB;
    if (required < 0) {
      Error(kScript, SettingLine('D'), "#D=" + std::to_string(required) + " is negative; the setup "
                                       "program reads it as about 4 PB and finds every disk too small");
      return;
    }
    if (total == 0 || (required >= 0 && uint64_t(required) * kMegabyte >= total)) return;
    const uint64_t needed = (total + kMegabyte - 1) / kMegabyte;
    const std::string take = "the files it installs take " + std::to_string(total) + " bytes";
    if (SettingLine('D') == 0) {
      Warn(kScript, 0, "no #D, yet " + take + "; write #D=" + std::to_string(needed) +
                           " so that the free-space test can stop a disk too small");
    } else {
      Warn(kScript, SettingLine('D'), "#D=" + std::to_string(required) + " MB, but " + take +
                                          "; write at least #D=" + std::to_string(needed));
    }
  }

  void CheckLicence() {
    const std::string name = setup::kLicenceEntry;
    if (!setup::HasPackageEntry(name.c_str())) {
      Warn(name, 0, "not in the package: without a licence the setup program only upgrades an "
                    "installed version, and with nothing installed it says so and ends");
      return;
    }
    std::vector<uint8_t> bytes;
    if (!LoadNeeded(name, "", &bytes)) return;
    int stopLine = 0;
    const std::vector<TextLine> lines = ReadLines(bytes, uint32_t(bytes.size() + 2), &stopLine);
    CheckText(name, bytes, lines);
  }

  void CheckPicture(const std::string& name) {
    std::vector<uint8_t> unused;
    if (!LoadNeeded(name, "the setup program would end without a window", &unused)) return;
    setup::MemoryStream stream;
    const uint8_t* info = nullptr;
    const uint8_t* bits = nullptr;
    const bool shown = setup::LoadPicture(stream, name.c_str(), &info, &bits);
    if (!shown) {
      Error(name, 0, "not a picture the setup program can show (an uncompressed Windows bitmap of "
                     "1 to 32 bits per pixel, with its header, palette and rows inside the file), "
                     "so it would end without a window");
    } else if (name == "parts.bmp") {
      const int32_t width = setup::PictureWidth(info);
      const int32_t height = std::abs(setup::PictureHeight(info));
      if (height < width) {
        Warn(name, 0, std::to_string(width) + " x " + std::to_string(height) +
                          " holds no square frame, so no busy animation is shown (expected: "
                          "64 x 1024, sixteen 64 x 64 frames)");
      }
    }
    stream.Release();
  }

  const std::vector<unsigned char>& image_;
  LoadedArchive archive_;
  std::set<std::string> external_;
  std::set<std::string> bad_;
  std::map<char, int> settingLines_;  // the last line of each setting command: the one that holds
  std::vector<int> listLines_;        // the line of each install command, in list order
  std::string refusal_;
  int refusalLine_ = 0;
  std::vector<Finding> findings_;
};

}  // namespace

std::vector<Finding> CheckPackage(const std::vector<unsigned char>& image) {
  return Checker(image).Run();
}

bool ReportFindings(const std::vector<Finding>& findings, Console& console) {
  bool errors = false;
  for (const Finding& finding : findings) {
    std::string where;
    if (!finding.entry.empty()) {
      where = ShowEntryName(finding.entry);
      if (finding.line > 0) where += ":" + std::to_string(finding.line);
      where += ": ";
    }
    console.Complain(where + (finding.error ? "error: " : "warning: ") + finding.message + "\n");
    errors = errors || finding.error;
  }
  return errors;
}

std::string ScriptCaption(const std::vector<unsigned char>& image) {
  if (image.size() > UINT32_MAX) return std::string();
  BorrowedProgramState program(image.data(), uint32_t(image.size()));
  if (!program.opened() || !setup::ParseInstallScript(kScript)) return std::string();
  return setup::setupState.mainFolderName;
}

uint32_t ScriptVersion(const std::vector<unsigned char>& image) {
  if (image.size() > UINT32_MAX) return 0;
  BorrowedProgramState program(image.data(), uint32_t(image.size()));
  if (!program.opened() || !setup::ParseInstallScript(kScript)) return 0;
  return setup::setupState.packageVersion;
}

}  // namespace zarc
