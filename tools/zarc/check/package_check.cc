// The package checks run the setup program's own archive reader, script parser and picture loader
// on the package, so that a check and the program can never disagree. The parser tells only
// whether it took the script; a light walk of the script's lines beside it, through the program's
// own line reader, says on which line and why.
#include "zarc/check/package_check.h"

#include <algorithm>

#include "model/package_layout.h"
#include "zarc/check/check_run.h"
#include "zarc/check/package.h"
#include "zarc/system/host.h"

namespace zarc {

void CheckRun::Error(const std::string& entry, int line, const std::string& message) {
  findings.push_back(Finding{true, entry, line, message});
}

void CheckRun::Warn(const std::string& entry, int line, const std::string& message) {
  findings.push_back(Finding{false, entry, line, message});
}

int CheckRun::ListLine(int index) const {
  return size_t(index) < listLines.size() ? listLines[size_t(index)] : 0;
}

int CheckRun::SettingLine(char letter) const {
  const auto found = settingLines.find(letter);
  return found == settingLines.end() ? 0 : found->second;
}

std::string Show(const std::string& entry) { return Quoted(ShowEntryName(entry)); }

std::string Plural(size_t count, const char* word) {
  return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

std::vector<Finding> CheckPackage(Package& package) {
  CheckRun run(package);
  CheckRecords(run);
  if (package.archive() == nullptr) {
    run.Error("", 0, "the setup program cannot open this package");
  } else {
    CheckScript(run);
    CheckLicence(run);
    for (const char* picture : {setup::kMainPictureEntry, setup::kPartsPictureEntry}) {
      CheckPicture(run, picture);
    }
  }
  std::stable_sort(run.findings.begin(), run.findings.end(),
                   [](const Finding& a, const Finding& b) {
                     return a.entry != b.entry ? a.entry < b.entry : a.line < b.line;
                   });
  return run.findings;
}

std::vector<Finding> CheckPackage(std::vector<unsigned char> image) {
  Package package;
  std::string why;
  if (!package.Open(std::move(image), &why)) return {Finding{true, "", 0, why}};
  return CheckPackage(package);
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
  Package package;
  std::string why;
  return package.Open(image, &why) ? package.Caption() : std::string();
}

}  // namespace zarc
