// zarc list: the index of an archive, one entry a line, with what would keep the setup program
// from reading an entry.
#include <cstdio>

#include "zarc/archive/archive_file.h"
#include "zarc/cli/commands.h"
#include "zarc/system/host.h"

namespace zarc {

namespace {

const char kHelp[] =
    "Usage: zarc list ARCHIVE\n"
    "Shows each entry of ARCHIVE in index order: stored size, full size, offset and name.\n"
    "An entry with stored size 0 shows as \"external\": the setup program reads it from its\n"
    "current directory. Entries the setup program cannot read are reported, and the exit\n"
    "status is then 1.\n";

std::string Row(const std::string& stored, const std::string& full, const std::string& offset,
                const std::string& name) {
  char columns[48];
  snprintf(columns, sizeof columns, "%10s %10s %10s  ", stored.c_str(), full.c_str(),
           offset.c_str());
  return columns + name + "\n";
}

}  // namespace

int ListCommand(const Arguments& args, setup::FileSystem& files, Console& console) {
  std::string path;
  const int status = TakeOnePath(args, console, "list", kHelp, "ARCHIVE", &path);
  if (status != kTakePath) return status;

  LoadedArchive archive;
  std::string why;
  if (!LoadArchive(files, path, &archive, &why)) {
    Tell(console, ShowHostName(path) + ": " + why);
    return kExitFailure;
  }
  console.Print(Row("stored", "full", "offset", "name"));
  int bad = 0;
  for (uint32_t i = 0; i < archive.count(); ++i) {
    const setup::ArchiveEntry& entry = archive.record(i);
    const std::string name = ShowEntryName(RecordName(entry));
    if (entry.storedSize == 0) {
      console.Print(Row("external", "-", "-", name));
    } else {
      console.Print(Row(std::to_string(entry.storedSize), std::to_string(entry.fullSize),
                        std::to_string(entry.offset), name));
    }
    const std::string problem = RecordProblem(archive, i);
    if (!problem.empty()) {
      Tell(console, ShowHostName(path) + ": entry " + std::to_string(i) + " " + Quoted(name) +
                        ": " + problem);
      ++bad;
    }
  }
  console.Print(std::to_string(archive.count()) + " entries, " + std::to_string(archive.size) +
                " bytes\n");
  return bad == 0 ? kExitSuccess : kExitFailure;
}

}  // namespace zarc
