// The install list checks: what #I names is in the package, every file goes into a folder made
// before it, #E #R #U name files the install puts in place, and which #C and #H copy from the
// folder the program starts from.
#include <set>
#include <string>
#include <vector>

#include "archive/package_archive.h"
#include "base/path.h"
#include "base/text.h"
#include "base/windows_path.h"
#include "script/install_script.h"
#include "zarc/check/check_run.h"

namespace zarc {

using setup::kScriptEntry;

namespace {

// The resolved install folder itself (see InstalledPath).
const char kInstallFolder[] = "C:";

// The folder the program writes an install-list value into, resolved; false when that is not
// certain (then it may be any).
bool InstalledFolder(const std::string& value, std::string* folder) {
  char resolved[setup::kPathCapacity];
  if (!setup::WindowsFolderOf((kInstallFolder + ("\\" + value)).c_str(), resolved)) return false;
  *folder = resolved;
  return true;
}

// True when path lies inside one of the trees, each written with its closing '\'.
bool InTree(const std::vector<std::string>& trees, const std::string& path) {
  for (const std::string& tree : trees) {
    if (path.compare(0, tree.size(), tree) == 0) return true;
  }
  return false;
}

void CheckNamedEntries(CheckRun& run, const setup::PackageScript& script) {
  const setup::InstallList& list = script.installList;
  for (int i = 0; i < list.count; ++i) {
    const setup::InstallEntry& entry = list.entries[i];
    if (entry.type == setup::kExtractEntry &&
        !run.package.archive()->Has(entry.text)) {
      run.Error(kScriptEntry, run.ListLine(i),
                "#I names " + Show(entry.text) + ", which is not in the package");
    }
  }
}

// A file's folder must be there when a fresh setup writes it: the install folder, one an earlier
// #F makes (with every level above it), or one an earlier #H makes or may fill from the medium.
// The folders compare as the program's would (base/windows_path.h): a file whose folder may be one
// of those, or that an uncertain #F or #H may have made, is not reported.
void CheckFolders(CheckRun& run, const setup::PackageScript& script) {
  std::set<std::string> made{kInstallFolder};
  std::vector<std::string> trees;  // each with its closing '\'
  bool anyMade = false;            // an uncertain #F or #H came before
  const setup::InstallList& list = script.installList;
  for (int i = 0; i < list.count; ++i) {
    const setup::InstallEntry& entry = list.entries[i];
    const std::string text = entry.text;
    const size_t comma = text.find(',');
    const std::string first = text.substr(0, comma);
    const std::string second = comma == std::string::npos ? first : text.substr(comma + 1);
    std::string written, folder;
    char letter = 0;
    switch (entry.type) {
      case setup::kMakeFolder:
        if (!InstalledPath(text, &folder)) {
          anyMade = true;
          continue;
        }
        // The folder itself, then each level above it up to the install folder.
        for (long cut; (cut = setup::LastSeparator(folder.c_str())) > 0; folder.resize(size_t(cut))) {
          made.insert(folder);
        }
        continue;
      case setup::kCopyTree:
        if (!InstalledPath(second, &folder)) {
          anyMade = true;
          continue;
        }
        made.insert(folder);
        trees.push_back(folder + "\\");
        continue;
      case setup::kExtractEntry:
        written = text, letter = 'I';
        break;
      case setup::kCopyFile:
        written = second, letter = 'C';
        break;
      case setup::kWriteNewFile:
        written = first, letter = 'X';
        break;
      default:
        continue;
    }
    if (anyMade || !InstalledFolder(written, &folder) || made.count(folder) != 0 || InTree(trees, folder)) {
      continue;
    }
    run.Error(kScriptEntry, run.ListLine(i),
              std::string("#") + letter + " writes " + Show(written) +
                  " into a folder that no #F or #H before it makes, so every "
                  "fresh setup fails there");
  }
}

// #E, #R and #U name files the install should put in place, by any spelling the program takes
// for the same file.
void CheckNamedFiles(CheckRun& run, const setup::PackageScript& script) {
  std::set<std::string> installed;
  std::vector<std::string> trees;  // each with its closing '\'
  bool anyInstalled = false;       // a file or tree that is not certain: it may be any
  const setup::InstallList& list = script.installList;
  for (int i = 0; i < list.count; ++i) {
    const std::string text = list.entries[i].text;
    const size_t comma = text.find(',');
    const std::string first = text.substr(0, comma);
    const std::string second = comma == std::string::npos ? first : text.substr(comma + 1);
    const std::string* value;
    switch (list.entries[i].type) {
      case setup::kExtractEntry:
        value = &text;
        break;
      case setup::kWriteNewFile:
        value = &first;
        break;
      case setup::kCopyFile:
      case setup::kCopyTree:
        value = &second;
        break;
      default:
        continue;
    }
    std::string path;
    if (!InstalledPath(*value, &path)) {
      anyInstalled = true;
    } else if (list.entries[i].type == setup::kCopyTree) {
      trees.push_back(path + "\\");
    } else {
      installed.insert(path);
    }
  }
  if (anyInstalled) return;
  const setup::PackageScript& s = script;
  const struct {
    char letter;
    const char* name;
    const char* what;
  } named[] = {{'E', s.executableName, "program"},
               {'R', s.readmeName, "readme"},
               {'U', s.uninstallerName, "uninstaller"}};
  for (const auto& file : named) {
    std::string path;
    if (file.name[0] == '\0' || !InstalledPath(file.name, &path)) continue;
    if (installed.count(path) == 0 && !InTree(trees, path)) {
      run.Warn(kScriptEntry, run.SettingLine(file.letter),
               std::string("#") + file.letter + " names the " + file.what + " " + Show(file.name) +
                   ", which no #I, #C or #X installs");
    }
  }
}

void CheckStartFolderCopies(CheckRun& run, const setup::PackageScript& script) {
  const setup::InstallList& list = script.installList;
  for (int i = 0; i < list.count; ++i) {
    const setup::InstallEntry& entry = list.entries[i];
    if (entry.type != setup::kCopyFile && entry.type != setup::kCopyTree) continue;
    const std::string text = entry.text;
    const std::string source = text.substr(0, text.find(','));
    // The program's own rule: any other path is found from the folder it starts from.
    if (setup::IsFullPath(source.c_str())) continue;
    run.Warn(kScriptEntry, run.ListLine(i),
             std::string(entry.type == setup::kCopyFile ? "#C" : "#H") + " copies " + Show(source) +
                 " from the folder the setup program starts from, which a program written by "
                 "zarc setup reads only with --allow-folder-overrides (a full path, C:\\... or "
                 "\\\\server\\share\\..., copies from elsewhere)");
    run.findings.back().readsStartFolder = true;
  }
}

}  // namespace

bool InstalledPath(const std::string& value, std::string* path) {
  char resolved[setup::kPathCapacity];
  if (!setup::ResolveWindowsPath((kInstallFolder + ("\\" + value)).c_str(), resolved)) return false;
  *path = resolved;
  return true;
}

void CheckInstallList(CheckRun& run, const setup::PackageScript& script) {
  CheckNamedEntries(run, script);
  CheckFolders(run, script);
  CheckNamedFiles(run, script);
  CheckStartFolderCopies(run, script);
}

}  // namespace zarc
