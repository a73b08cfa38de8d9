// zarc create: packs files into a "ZARC" archive that the setup program reads correctly, or
// refuses, leaving no archive behind.
#include "zarc/cli/commands.h"
#include "zarc/cli/packing.h"
#include "zarc/system/host.h"
#include "zarc/pack/archive_writer.h"
#include "zarc/pack/replacing_file.h"

namespace zarc {

namespace {

const char kHelpHead[] =
    "Usage: zarc create OUT.zarc [OPTION | FILE | FOLDER]...\n"
    "Packs each FILE into the archive OUT.zarc as an entry named after the file (the part after\n"
    "its last folder separator), in the order given. Entries are zlib streams, compressed in\n"
    "parallel; the same files always give the same archive.\n"
    "A FOLDER packs every file below it, sorted, each named by the shortest end of its path in\n"
    "the folder (whole folder names, joined by '\\') that no other file of the folder shares:\n"
    "LICENSE and sub\\LICENSE, x.pyd and core\\x.pyd. \"zarc list-folder\" writes the install\n"
    "list that matches.\n"
    "\n"
    "  --as NAME        name the entry of the next FILE NAME instead, e.g. --as \"data\\a.bin\"\n"
    "  --external NAME  add an entry NAME that the setup program reads from its current\n"
    "                   directory at run time (stored size 0)\n"
    "  --from-utf8      convert setup.txt and the licence from UTF-8 to code page 932 with\n"
    "                   CR LF, as the setup program reads them; a character that code page\n"
    "                   932 cannot hold is refused with its line\n";
const char kHelpTail[] =
    "  --               take every later argument as a FILE\n"
    "  -h, --help       show this help\n"
    "\n"
    "Entry names are stored in code page 932 and must be 1 to 51 bytes long there, without '/',\n"
    "and unique (letter case counts). An archive holds at most 512 entries and stays under 4 GiB.\n"
    "OUT.zarc is replaced only once the new archive is complete.\n";

// Reads the command line into request. True when packing should go ahead; otherwise *status is
// the exit status (help shown, or a usage error told).
bool ParseArguments(const Arguments& args, Console& console, PackingRequest* request, int* status) {
  *status = kExitUsage;
  auto usage = [&console](const std::string& problem) {
    UsageError(console, "create", problem);
    return false;
  };
  PackingArguments packing(request);
  bool haveOut = false;
  std::string problem;
  for (const ParsedArgument& arg : ParseCommandLine(args, kPackingOptions)) {
    if (arg.kind == ParsedArgument::kHelp) {
      console.Print(std::string(kHelpHead) + kCompressionHelp + kHelpTail);
      *status = kExitSuccess;
      return false;
    } else if (arg.kind == ParsedArgument::kOperand && !haveOut) {
      if (!packing.NoAsPending(&problem)) return usage(problem);
      request->archiveName = arg.text;
      haveOut = true;
    } else if (!packing.Take(arg, &problem)) {
      return usage(problem);
    }
  }
  if (!packing.NoAsPending(&problem)) return usage(problem);
  if (!haveOut) return usage("no archive to create");
  if (request->inputs.empty()) return usage("no files to pack");
  return true;
}

bool WriteArchive(const std::string& out, const PackedArchive& archive, setup::FileSystem& files,
                  Console& console) {
  ReplacingFile file(files, out);
  bool ok = file.Open() && file.Write(ArchiveHead(archive.entries, archive.offsets));
  for (size_t i = 0; ok && i < archive.entries.size(); ++i) ok = file.Write(archive.entries[i].stream);
  if (ok && file.Commit()) return true;
  Tell(console, ShowHostName(out) + ": " + file.failure());
  return false;
}

}  // namespace

int CreateCommand(const Arguments& args, setup::FileSystem& files, Console& console) {
  PackingRequest request;
  int status = kExitUsage;
  if (!ParseArguments(args, console, &request, &status)) return status;
  PackedArchive archive;
  if (!PackArchive(request, files, console, &archive) ||
      !WriteArchive(request.archiveName, archive, files, console)) {
    return kExitFailure;
  }
  return kExitSuccess;
}

}  // namespace zarc
