// zarc list-folder: the install list of a product folder, matching the entries that packing the
// folder makes, printed or written into the publisher's setup.txt in place of the one before.
#include "model/package_layout.h"
#include "archive/archive_format.h"
#include "zarc/cli/commands.h"
#include "zarc/system/host.h"
#include "zarc/pack/install_list_block.h"
#include "zarc/pack/replacing_file.h"

namespace zarc {

namespace {

const char kHelp[] =
    "Usage: zarc list-folder [--into SCRIPT] FOLDER\n"
    "Prints the install list of FOLDER: an #F line for every folder below it (empty ones too,\n"
    "parents first), then an #I line for every file, under the entry names that\n"
    "\"zarc create\" and \"zarc setup\" give the files when given FOLDER. The lines come\n"
    "between two comment lines of zarc's own.\n"
    "\n"
    "  --into SCRIPT  write the lines into SCRIPT (such as setup.txt) instead: in place of those\n"
    "                 it wrote there before, or at its end the first time, keeping every other\n"
    "                 line byte for byte. A SCRIPT in UTF-8 gets them in UTF-8, any other in code\n"
    "                 page 932, with the SCRIPT's own line breaks. Made if missing\n"
    "  -h, --help     show this help\n"
    "\n"
    "Run it again for each release: the list follows the folder, the rest of SCRIPT stays.\n";

// The folder's own name for the block's first line: the same wherever the folder lies.
std::string FolderLabel(std::string folder) {
  while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  std::string label;
  const std::string base = HostBaseName(folder);
  if (base.empty() || base == "." || base == ".." || !EntryNameFromHost(base, &label)) {
    return "the folder";
  }
  return label;
}

bool ParseArguments(const Arguments& args, Console& console, std::string* folder,
                    std::string* into, int* status) {
  *status = kExitUsage;
  static const std::vector<OptionSpec> options = {{"--into", "a SCRIPT"}};
  for (const ParsedArgument& arg : ParseCommandLine(args, options)) {
    if (arg.kind == ParsedArgument::kEndOfOptions) continue;
    if (arg.kind == ParsedArgument::kHelp) {
      console.Print(kHelp);
      *status = kExitSuccess;
      return false;
    }
    if (arg.kind == ParsedArgument::kOption) {
      *into = arg.value;
    } else if (arg.kind != ParsedArgument::kOperand) {
      UsageError(console, "list-folder", OptionProblem(arg));
      return false;
    } else if (!folder->empty()) {
      UsageError(console, "list-folder", "one FOLDER at a time");
      return false;
    } else {
      *folder = arg.text;
    }
  }
  if (folder->empty()) {
    UsageError(console, "list-folder", "no FOLDER given");
    return false;
  }
  return true;
}

// What the setup program cannot take yet; the list is written all the same, for zarc check to
// report on the package.
void TellLimits(const FolderTree& tree, Console& console) {
  const size_t commands = tree.folders.size() + tree.files.size();
  if (commands > size_t(setup::kMaxInstallEntries)) {
    Tell(console, "note: " + std::to_string(commands) + " list commands; the setup program " +
                      "takes at most " + std::to_string(setup::kMaxInstallEntries));
  }
  if (tree.files.size() > setup::kMaxArchiveEntries) {
    Tell(console, "note: " + std::to_string(tree.files.size()) + " files; an archive holds at most " +
                      std::to_string(setup::kMaxArchiveEntries) + " entries");
  }
}

}  // namespace

int ListFolderCommand(const Arguments& args, setup::FileSystem& files, Console& console) {
  std::string folder, into;
  int status = kExitUsage;
  if (!ParseArguments(args, console, &folder, &into, &status)) return status;

  FolderTree tree;
  std::string problem;
  if (!IsListableFolder(files, folder)) {
    Tell(console, ShowHostName(folder) + ": is no folder that can be listed");
    return kExitFailure;
  }
  if (!ReadFolderTree(files, folder, &tree, &problem)) {
    Tell(console, problem);
    return kExitFailure;
  }
  const std::vector<std::string> lines = InstallListLines(tree);
  const std::string label = FolderLabel(folder);
  if (into.empty()) {
    std::string text = ShowEntryName(ListBlockBegin(label)) + "\n";
    for (const std::string& line : lines) text += ShowEntryName(line) + "\n";
    console.Print(text + kListBlockEnd + "\n");
    TellLimits(tree, console);
    return kExitSuccess;
  }

  std::vector<uint8_t> script;
  uint64_t size = 0;
  if (files.FileSize(into.c_str(), &size)) {
    uint8_t* bytes = nullptr;
    uint32_t length = 0;
    if (!files.ReadWholeFile(into.c_str(), &bytes, &length)) {
      Tell(console, ShowHostName(into) + ": cannot read it");
      return kExitFailure;
    }
    script.assign(bytes, bytes + length);
    delete[] bytes;
  }
  std::vector<uint8_t> result;
  if (!PutListBlock(script, label, lines, &result, &problem)) {
    Tell(console, ShowHostName(into) + ": " + problem + "; it is left as it was");
    return kExitFailure;
  }
  ReplacingFile file(files, into);
  if (!file.Open() || !file.Write(result) || !file.Commit()) {
    Tell(console, ShowHostName(into) + ": " + file.failure());
    return kExitFailure;
  }
  TellLimits(tree, console);
  return kExitSuccess;
}

}  // namespace zarc
