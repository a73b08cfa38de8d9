// zarc extract: writes entries out as files, each checked as the setup program would deliver it.
// Names come from the archive, so each is checked before it becomes a path.
#include <memory>

#include "archive/archive_format.h"
#include "zarc/archive/archive_file.h"
#include "zarc/cli/commands.h"
#include "zarc/system/host.h"
#include "zarc/pack/entry_name.h"
#include "zarc/pack/replacing_file.h"

namespace zarc {

namespace {

const char kHelp[] =
    "Usage: zarc extract [-C DIR] ARCHIVE [NAME...]\n"
    "Writes the entries of ARCHIVE (or only the NAMEd ones) as files into the current directory,\n"
    "or into DIR. A '\\' in an entry name makes a sub-folder. Names that could write outside the\n"
    "folder (a root, a drive letter, '..') are refused. External entries are skipped, since their\n"
    "data is not in the archive.\n"
    "\n"
    "  -C DIR      write into DIR (made if missing) instead of the current directory\n"
    "  -h, --help  show this help\n";

struct Options {
  std::string folder;  // where to write, in the host's form; empty for the current directory
  std::string archive;
  std::vector<std::string> names;  // in the host's form
};

// True to go ahead; otherwise *status is the exit status (help shown, or a usage error told).
bool ParseArguments(const Arguments& args, Console& console, Options* options, int* status) {
  *status = kExitUsage;
  auto usage = [&console](const std::string& problem) {
    UsageError(console, "extract", problem);
    return false;
  };
  static const std::vector<OptionSpec> known = {{"-C", "a DIR"}};
  for (const ParsedArgument& arg : ParseCommandLine(args, known)) {
    if (arg.kind == ParsedArgument::kEndOfOptions) continue;
    if (arg.kind == ParsedArgument::kHelp) {
      console.Print(kHelp);
      *status = kExitSuccess;
      return false;
    } else if (arg.kind == ParsedArgument::kOption) {
      options->folder = arg.value;
    } else if (arg.kind != ParsedArgument::kOperand) {
      return usage(OptionProblem(arg));
    } else if (options->archive.empty()) {
      options->archive = arg.text;
    } else {
      options->names.push_back(arg.text);
    }
  }
  if (options->archive.empty()) return usage("no ARCHIVE given");
  return true;
}

// The records to extract: every one, or for each name the last record of that name (the one the
// setup program delivers). False after telling each name that is not there.
bool SelectRecords(const Options& options, const LoadedArchive& archive, Console& console,
                   std::vector<uint32_t>* records) {
  if (options.names.empty()) {
    for (uint32_t i = 0; i < archive.count(); ++i) records->push_back(i);
    return true;
  }
  bool ok = true;
  for (const std::string& name : options.names) {
    std::string entryName;
    uint32_t found = archive.count();
    if (EntryNameFromHost(name, &entryName) && EntryNameProblem(entryName) == nullptr) {
      for (uint32_t i = 0; i < archive.count(); ++i) {
        if (setup::EntryNameIs(archive.record(i), entryName.c_str())) found = i;
      }
    }
    if (found == archive.count()) {
      Tell(console, ShowHostName(options.archive) + ": no entry " +
                        Quoted(ShowHostName(name)));
      ok = false;
    } else {
      records->push_back(found);
    }
  }
  return ok;
}

// Makes the folders an entry's path goes through and returns the file's path; false with *why.
bool PrepareFolders(const std::string& folder, const std::vector<std::string>& parts,
                    setup::FileSystem& files, std::string* path, std::string* why) {
  *path = folder;
  for (size_t i = 0; i < parts.size(); ++i) {
    std::string hostPart;
    if (!HostNameFromEntry(parts[i], &hostPart)) {
      *why = "its name is not valid code page 932";
      return false;
    }
    *path = JoinHostPath(*path, hostPart);
    // A folder that exists already is fine; one that cannot be made fails the write below.
    if (i + 1 < parts.size()) files.MakeFolder(path->c_str());
  }
  return true;
}

// Extracts record i; false with *why.
bool ExtractRecord(const LoadedArchive& archive, uint32_t i, const std::string& folder,
                   setup::FileSystem& files, std::string* why) {
  *why = RecordProblem(archive, i);
  if (!why->empty()) return false;
  std::vector<std::string> parts;
  if (const char* problem = SplitExtractPath(RecordName(archive.record(i)), &parts)) {
    *why = std::string("refused: ") + problem;
    return false;
  }
  std::unique_ptr<uint8_t[]> data;
  if (!InflateRecord(archive, i, &data, why)) return false;
  std::string path;
  if (!PrepareFolders(folder, parts, files, &path, why)) return false;
  ReplacingFile file(files, path);
  if (file.Open() && file.Write(data.get(), archive.record(i).fullSize) && file.Commit()) {
    return true;
  }
  *why = ShowHostName(path) + ": " + file.failure();
  return false;
}

}  // namespace

int ExtractCommand(const Arguments& args, setup::FileSystem& files, Console& console) {
  Options options;
  int parseStatus = kExitUsage;
  if (!ParseArguments(args, console, &options, &parseStatus)) return parseStatus;

  LoadedArchive archive;
  std::string why;
  if (!LoadArchive(files, options.archive, &archive, &why)) {
    Tell(console, ShowHostName(options.archive) + ": " + why);
    return kExitFailure;
  }
  std::vector<uint32_t> records;
  if (!SelectRecords(options, archive, console, &records)) return kExitFailure;
  if (!options.folder.empty()) files.MakeFolder(options.folder.c_str());

  int status = kExitSuccess;
  for (uint32_t i : records) {
    const std::string shown = Quoted(ShowEntryName(RecordName(archive.record(i))));
    if (archive.record(i).storedSize == 0 && RecordProblem(archive, i).empty()) {
      Tell(console, "skipped external entry " + shown +
                        " (the setup program reads it from its current directory)");
      continue;
    }
    if (!ExtractRecord(archive, i, options.folder, files, &why)) {
      Tell(console, ShowHostName(options.archive) + ": entry " + shown + ": " + why);
      status = kExitFailure;
    }
  }
  return status;
}

}  // namespace zarc
