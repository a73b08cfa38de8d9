// zarc init: a starter project in a folder, from which "zarc setup" writes a working setup program
// at once. It never overwrites a file: with any of its files there already, it writes nothing.
#include "script/install_script.h"
#include "zarc/cli/commands.h"
#include "zarc/system/host.h"
#include "zarc/init/starter_project.h"
#include "zarc/pack/entry_name.h"
#include "zarc/pack/install_list_block.h"

namespace zarc {

namespace {

const char kHelp[] =
    "Usage: zarc init [--name NAME] [--from FOLDER] DIR\n"
    "Writes a starter project into DIR (made if missing, in a folder that exists): the install\n"
    "script setup.txt and the licence 同意書.txt in code page 932 with CR LF, a readme.txt, the\n"
    "main window's picture setup256.bmp and the busy animation parts.bmp. It passes\n"
    "\"zarc check\" as it is; edit it into your product's. No file of DIR is ever overwritten.\n"
    "\n"
    "  --name NAME  the product's name, for its folder, registry key, caption and shortcuts\n"
    "               (default: the name of DIR)\n"
    "  --from FOLDER  install the product's folder: the script gets the #F and #I lines of\n"
    "               \"zarc list-folder --into\" for FOLDER and a #D that fits it; pack FOLDER\n"
    "               with the starter's files\n"
    "  -h, --help   show this help\n";

// The folder's own name: the part after its last separator, trailing ones dropped.
std::string FolderName(std::string folder) {
  while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  return HostBaseName(folder);
}

// The program name as a word of a command line.
std::string CommandWord(const std::string& text) {
  return text.find_first_of(" '\"") == std::string::npos ? text : Quoted(text);
}

std::string NextSteps(const std::string& folder, const std::string& name,
                      const std::string& from) {
  const std::string shownName = ShowEntryName(name);
  const std::string program = CommandWord(shownName + ".exe");
  const std::string setup = CommandWord(shownName + "Setup.exe");
  if (!from.empty()) {
    const std::string product = CommandWord(ShowHostName(from));
    return "Wrote the starter project of " + Quoted(shownName) + " into " + ShowHostName(folder) +
           ", installing the files of " + ShowHostName(from) + ".\n"
           "Next, in that folder (give " + product + " as seen from there):\n"
           "  1. Edit setup.txt to suit your product: #E names its program, #U its uninstaller.\n"
           "  2. zarc setup " + setup + " setup.txt 同意書.txt readme.txt setup256.bmp parts.bmp " +
           product + "\n"
           "  3. Sign " + setup + " with osslsigncode.\n"
           "For the next release: zarc list-folder --into setup.txt " + product + "\n";
  }
  return "Wrote the starter project of " + Quoted(shownName) + " into " + ShowHostName(folder) +
         ":\n"
         "  setup.txt     the install script (code page 932, CR LF)\n"
         "  同意書.txt    the licence the user agrees to before installing\n"
         "  readme.txt    the product's readme, installed with it\n"
         "  setup256.bmp  the main window's picture (320 x 192, 256 colours)\n"
         "  parts.bmp     the busy animation (sixteen 64 x 64 frames)\n"
         "Next, in that folder:\n"
         "  1. Put " + program + " and uninstall.exe there and remove the \"//\" before their\n"
         "     four lines in setup.txt; edit the rest to suit your product.\n"
         "  2. zarc create files.zarc setup.txt 同意書.txt readme.txt setup256.bmp parts.bmp " +
         program + " uninstall.exe\n"
         "     zarc check files.zarc\n"
         "     (texts saved as UTF-8: add --from-utf8 to zarc create)\n"
         "  3. zarc setup " + setup + " --package files.zarc\n"
         "  4. Sign " + setup + " with osslsigncode.\n";
}

// Writes every file, each as a new one. On a failure removes those it wrote and says why.
bool WriteProject(const std::string& folder, const std::vector<StarterFile>& project,
                  setup::FileSystem& files, Console& console) {
  std::vector<std::string> written;
  for (const StarterFile& file : project) {
    std::string hostName;
    std::unique_ptr<setup::OutputFile> output;
    const bool named = HostNameFromEntry(file.name, &hostName);
    const std::string path = JoinHostPath(folder, hostName);
    if (named) output = files.OpenForWriting(path.c_str(), setup::WriteMode::kNew);
    if (output != nullptr) written.push_back(path);
    const bool ok = output != nullptr && output->Write(file.data.data(), uint32_t(file.data.size())) &&
                    output->Close(true);
    if (!ok) {
      output.reset();  // Windows deletes no open file
      Tell(console, (named ? ShowHostName(path) : ShowEntryName(file.name)) +
                        ": cannot write it; nothing of the starter project is left");
      for (const std::string& made : written) files.RemoveFile(made.c_str());
      return false;
    }
  }
  return true;
}

// Reads the command line into DIR and the product's name (*haveName when --name gave it). True to
// go ahead; otherwise *status is the exit status (help shown, or a usage error told).
bool ParseArguments(const Arguments& args, Console& console, std::string* folder,
                    std::string* hostName, bool* haveName, std::string* from, int* status) {
  *status = kExitUsage;
  static const std::vector<OptionSpec> options = {{"--name", "a NAME"}, {"--from", "a FOLDER"}};
  for (const ParsedArgument& arg : ParseCommandLine(args, options)) {
    if (arg.kind == ParsedArgument::kEndOfOptions) continue;
    if (arg.kind == ParsedArgument::kHelp) {
      console.Print(kHelp);
      *status = kExitSuccess;
      return false;
    }
    if (arg.kind == ParsedArgument::kOption && arg.text == "--from") {
      *from = arg.value;
    } else if (arg.kind == ParsedArgument::kOption) {
      *hostName = arg.value;
      *haveName = true;
    } else if (arg.kind != ParsedArgument::kOperand) {
      UsageError(console, "init", OptionProblem(arg));
      return false;
    } else if (!folder->empty()) {
      UsageError(console, "init", "one DIR at a time");
      return false;
    } else {
      *folder = arg.text;
    }
  }
  if (folder->empty()) {
    UsageError(console, "init", "no DIR given");
    return false;
  }
  if (!*haveName) *hostName = FolderName(*folder);
  return true;
}

// Refused before anything is written, so a publisher's own files are never touched.
bool RefuseFilesPresent(const std::string& folder, const std::vector<StarterFile>& project,
                        setup::FileSystem& files, Console& console) {
  std::string present;
  for (const StarterFile& file : project) {
    std::string host;
    uint64_t size = 0;
    if (HostNameFromEntry(file.name, &host) && files.FileSize(JoinHostPath(folder, host).c_str(), &size)) {
      present += (present.empty() ? "" : ", ") + ShowEntryName(file.name);
    }
  }
  if (present.empty()) return false;
  Tell(console, ShowHostName(folder) + ": holds " + present +
                    " already; zarc init overwrites nothing, so it wrote nothing");
  return true;
}

// The problem with the product's folder, or empty when *tree and *bytes (its files' size) are read.
std::string ReadProductFolder(const std::string& from, setup::FileSystem& files, FolderTree* tree,
                              uint64_t* bytes) {
  std::string problem;
  if (!IsListableFolder(files, from)) return ShowHostName(from) + ": is no folder that can be listed";
  if (!ReadFolderTree(files, from, tree, &problem)) return problem;
  *bytes = 0;
  for (const FolderTree::File& file : tree->files) {
    uint64_t size = 0;
    if (!files.FileSize(file.hostPath.c_str(), &size)) return ShowHostName(file.hostPath) + ": cannot open it";
    *bytes += size;
  }
  return std::string();
}

// Puts the install list of the product's folder into the starter's script, with a #D that holds
// it. False after telling why the folder cannot be listed.
bool InstallFolder(const std::string& from, std::vector<StarterFile>& project,
                   setup::FileSystem& files, Console& console) {
  FolderTree tree;
  uint64_t bytes = 0;
  std::string problem = ReadProductFolder(from, files, &tree, &bytes);
  for (StarterFile& starter : project) {
    if (!problem.empty() || starter.name != setup::kScriptEntry) continue;
    std::string script(starter.data.begin(), starter.data.end());
    // A megabyte over the folder's size covers the readme and the rounding.
    const std::string required = "#D=" + std::to_string(bytes / (1 << 20) + 1) + "\r\n";
    const size_t at = script.find("#D=1\r\n");
    if (at != std::string::npos) script.replace(at, 6, required);
    std::string base = from, label;
    while (base.size() > 1 && (base.back() == '/' || base.back() == '\\')) base.pop_back();
    if (!EntryNameFromHost(HostBaseName(base), &label) || label.empty()) label = "the folder";
    std::vector<uint8_t> withList;
    if (PutListBlock(std::vector<uint8_t>(script.begin(), script.end()), label,
                     InstallListLines(tree), &withList, &problem)) {
      starter.data = withList;
    }
  }
  if (problem.empty()) return true;
  Tell(console, "--from: " + problem + "; nothing was written");
  return false;
}

}  // namespace

int InitCommand(const Arguments& args, setup::FileSystem& files, Console& console) {
  std::string folder, hostName, from;
  bool haveName = false;
  int status = kExitUsage;
  if (!ParseArguments(args, console, &folder, &hostName, &haveName, &from, &status)) return status;

  std::string name;
  const char* problem = EntryNameFromHost(hostName, &name) ? ProductNameProblem(name)
                                                           : "the product's name has no code page 932 form";
  if (problem != nullptr) {
    return UsageError(console, "init", std::string(problem) + ": " + Quoted(ShowHostName(hostName)) +
                                           (haveName ? "" : " (from DIR; give one with --name)"));
  }
  std::vector<StarterFile> project;
  if (!StarterProject(name, &project)) {
    Tell(console, "this system cannot convert text to code page 932");
    return kExitFailure;
  }
  if (!from.empty() && !InstallFolder(from, project, files, console)) return kExitFailure;
  const bool madeFolder = files.MakeFolder(folder.c_str());
  if (RefuseFilesPresent(folder, project, files, console)) return kExitFailure;
  if (!WriteProject(folder, project, files, console)) {
    // A folder this run made goes too, once what it wrote is gone; one that was there stays.
    if (madeFolder) files.RemoveEmptyFolder(folder.c_str());
    return kExitFailure;
  }
  console.Print(NextSteps(folder, name, from));
  return kExitSuccess;
}

}  // namespace zarc
