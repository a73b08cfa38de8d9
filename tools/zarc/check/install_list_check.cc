// The install list checks: what #I names is in the package, every file goes into a folder made
// before it, #E #R #U name files the install puts in place, and which #C and #H copy from the
// folder the program starts from.
#include <set>
#include <string>
#include <vector>

#include "archive/package_archive.h"
#include "base/cp932.h"
#include "base/path.h"
#include "base/text.h"
#include "script/install_script.h"
#include "zarc/check/check_run.h"

namespace zarc {

using setup::kScriptEntry;

namespace {

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
void CheckFolders(CheckRun& run, const setup::PackageScript& script) {
  std::set<std::string> made{""};
  std::vector<std::string> trees;
  const setup::InstallList& list = script.installList;
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
    const std::string folder = FolderOf(written);
    if (folder == ".." || made.count(folder) != 0) continue;
    bool inTree = false;
    for (const std::string& tree : trees)
      inTree = inTree || folder.compare(0, tree.size(), tree) == 0;
    if (inTree) continue;
    run.Error(kScriptEntry, run.ListLine(i),
              std::string("#") + letter + " writes " + Show(written) +
                  " into a folder that no #F or #H before it makes, so every "
                  "fresh setup fails there");
  }
}

// #E, #R and #U name files the install should put in place.
void CheckNamedFiles(CheckRun& run, const setup::PackageScript& script) {
  std::set<std::string> installed;
  std::vector<std::string> trees;
  const setup::InstallList& list = script.installList;
  for (int i = 0; i < list.count; ++i) {
    const std::string text = list.entries[i].text;
    const size_t comma = text.find(',');
    const std::string first = text.substr(0, comma);
    const std::string second = comma == std::string::npos ? first : text.substr(comma + 1);
    switch (list.entries[i].type) {
      case setup::kExtractEntry:
        installed.insert(FoldedName(text));
        break;
      case setup::kCopyFile:
        installed.insert(FoldedName(second));
        break;
      case setup::kWriteNewFile:
        installed.insert(FoldedName(first));
        break;
      case setup::kCopyTree:
        trees.push_back(FoldedName(second) + "\\");
        break;
      default:
        break;
    }
  }
  const setup::PackageScript& s = script;
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
    for (const std::string& tree : trees)
      found = found || folded.compare(0, tree.size(), tree) == 0;
    if (!found) {
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

// File names as Windows compares them, with the program's own fold (base/cp932.h).
std::string FoldedName(const std::string& name) {
  std::string folded = name;
  setup::FoldCp932Name(&folded[0]);  // the string's own NUL ends it
  return folded;
}

void CheckInstallList(CheckRun& run, const setup::PackageScript& script) {
  CheckNamedEntries(run, script);
  CheckFolders(run, script);
  CheckNamedFiles(run, script);
  CheckStartFolderCopies(run, script);
}

}  // namespace zarc
