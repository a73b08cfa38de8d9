// The script check: every line as the program's line reader and parser take it, and what they
// would miss or refuse, with its line.
#include <algorithm>
#include <string>

#include "model/package_script.h"
#include "script/install_script.h"
#include "zarc/check/check_run.h"
#include "zarc/system/host.h"

namespace zarc {

namespace {

using setup::kScriptEntry;

// The command letters as "#C #D ...": every one in letter order, or the install commands in
// theirs.
std::string Letters(bool install) {
  std::string letters;
  for (size_t i = 0; i < setup::kScriptCommandCount; ++i) {
    const setup::ScriptCommand& command = setup::kScriptCommands[i];
    if (!install || command.kind == setup::CommandKind::kInstall) letters += command.letter;
  }
  if (!install) std::sort(letters.begin(), letters.end());
  std::string shown;
  for (char letter : letters) shown += std::string(shown.empty() ? "#" : " #") + letter;
  return shown;
}

class ScriptCheck {
 public:
  explicit ScriptCheck(CheckRun& checked) : run(checked) {}

  // Notes where each command is, what the parser will refuse, and the commands it would miss.
  void WalkScript(const std::vector<uint8_t>& bytes, const std::vector<TextLine>& lines,
                  int stopLine) {
    for (const TextLine& line : lines) {
      // Whatever this line holds, a lone CR at its end costs the next line its first byte.
      if (line.end == LineEnd::kCrAlone && line.start + line.length + 1 < bytes.size() &&
          bytes[line.start + line.length + 1] == '#') {
        run.Error(kScriptEntry, line.number + 1,
                  "the line before ends in CR alone, so the setup program "
                  "drops this line's '#' and ignores its command");
      }
      if (line.number == 1 && StartsWithUtf8Mark(bytes) && line.text.size() > 3 &&
          line.text[3] == '#') {
        run.Error(kScriptEntry, 1,
                  "the byte-order mark hides this line's command from the setup program");
      }
      if (line.text.empty() || line.text[0] != '#') continue;
      if (line.text.size() < 2) {
        run.Warn(kScriptEntry, line.number,
                 "'#' alone is no command; the setup program ignores this line");
        continue;
      }
      WalkCommand(line);
    }
    if (stopLine != 0) ReportStop(bytes, lines, stopLine);
  }

  // Notes a command line: where it is, what the parser will refuse of it, or that it is none.
  void WalkCommand(const TextLine& line) {
    const char letter = line.text[1];
    const std::string value = line.text.size() >= 3 ? line.text.substr(3) : std::string();
    const setup::ScriptCommand* command = setup::FindScriptCommand(letter);
    if (command == nullptr) {
      run.Warn(kScriptEntry, line.number,
               "\"#" + ShowEntryName(std::string(1, letter)) +
                   "\" is no command; the setup program ignores this line (commands are " +
                   Letters(false) + ", upper case)");
      return;
    }
    if (command->kind == setup::CommandKind::kInstall) {
      run.listLines.push_back(line.number);
      if (run.listLines.size() > size_t(setup::kMaxInstallEntries)) {
        Refuse(line.number, "more than " + std::to_string(setup::kMaxInstallEntries) +
                                " install commands (" + Letters(true) + ")");
      } else {
        CheckFits(line.number, *command, value);
      }
    } else {
      run.settingLines[letter] = line.number;
      if (command->kind == setup::CommandKind::kVersion) CheckVersion(line.number, value);
      CheckFits(line.number, *command, value);
    }
    if (line.text.size() >= 3 && line.text[2] != '=') {
      run.Warn(kScriptEntry, line.number,
               std::string("the byte after #") + letter +
                   " is not '='; the setup program skips it whatever it is, so the value is " +
                   Show(value));
    }
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
    run.Error(kScriptEntry, line, message);
  }

  // A value longer than its place in the record makes the parser refuse the script.
  void CheckFits(int line, const setup::ScriptCommand& command, const std::string& value) {
    if (command.capacity == 0 || value.size() < command.capacity) return;
    Refuse(line, std::string("the value of #") + command.letter + " is " +
                     std::to_string(value.size()) + " bytes; at most " +
                     std::to_string(command.capacity - 1) + " fit");
  }

  void Refuse(int line, const std::string& why) {
    if (!refusal_.empty()) return;  // the parser stops at the first
    refusal_ = why;
    refusalLine_ = line;
  }

  // The line reader stopped before the end: that line and all after it are never read.
  void ReportStop(const std::vector<uint8_t>& bytes, const std::vector<TextLine>& lines,
                  int stopLine) {
    const size_t start = lines.empty() ? 0
                                       : lines.back().start + lines.back().length +
                                             (lines.back().end == LineEnd::kLf ? 1 : 2);
    size_t end = start;
    while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') ++end;
    bool commandLost = start < bytes.size() && bytes[start] == '#';
    for (size_t i = end; i + 1 < bytes.size() && !commandLost; ++i) {
      commandLost = (bytes[i] == '\n' || bytes[i] == '\r') && bytes[i + 1] == '#';
    }
    std::string message;
    if (end < bytes.size() || end - start > setup::kScriptLineCapacity - 2) {
      message = "the line is " + std::to_string(end - start) + " bytes, longer than the " +
                std::to_string(setup::kScriptLineCapacity - 2) +
                " the setup program reads; it stops reading the script here and ignores this line "
                "and every line after it";
    } else {
      message = "the last line has no line break, so the setup program ignores it";
    }
    if (commandLost) {
      run.Error(kScriptEntry, stopLine, message);
    } else if (end < bytes.size() || end > start) {
      run.Warn(kScriptEntry, stopLine, message);
    }
  }

  void CheckScript() {
    std::vector<uint8_t> bytes;
    if (!LoadNeeded(run, kScriptEntry, "the setup program would end without a window", &bytes))
      return;
    int stopLine = 0;
    const std::vector<TextLine> lines = ReadLines(bytes, setup::kScriptLineCapacity, &stopLine);
    WalkScript(bytes, lines, stopLine);
    CheckText(run, kScriptEntry, bytes, lines);
    const setup::PackageScript* script = run.package.Script();
    if (script == nullptr) {
      if (refusal_.empty()) {
        run.Error(kScriptEntry, 0,
                  "the setup program refuses this script, so it would end without a window");
      } else {
        run.Error(kScriptEntry, refusalLine_,
                  refusal_ +
                      "; the setup program refuses such a script, so it "
                      "would end without a window");
      }
      return;
    }
    CheckInstallList(run, *script);
    CheckRequiredSpace(run, *script);
  }

 private:
  CheckRun& run;
  std::string refusal_;
  int refusalLine_ = 0;
};

}  // namespace

void CheckScript(CheckRun& run) { ScriptCheck(run).CheckScript(); }

}  // namespace zarc
