// zarc test: decompresses every entry with the setup program's own inflater and checks that each
// gives exactly its full size. Also checks a "ZFIL" file.
#include <memory>

#include "archive/archive_format.h"
#include "zarc/archive/archive_file.h"
#include "zarc/cli/commands.h"
#include "zarc/system/host.h"

namespace zarc {

namespace {

const char kHelp[] =
    "Usage: zarc test FILE\n"
    "Checks a ZARC archive the way the setup program reads it: every entry must decompress to\n"
    "exactly its full size, and every name must be one the program can look up. For a ZFIL file,\n"
    "checks its one stream. Each bad entry is reported by name; the exit status is then 1.\n";

int TestZfil(const std::string& path, const uint8_t* data, uint32_t size, Console& console) {
  std::unique_ptr<uint8_t[]> output;
  uint32_t fullSize = 0;
  std::string why;
  if (!InflateZfil(data, size, &output, &fullSize, &why)) {
    Tell(console, ShowHostName(path) + ": " + why);
    return kExitFailure;
  }
  console.Print(ShowHostName(path) + ": ZFIL file OK, " + std::to_string(fullSize) + " bytes\n");
  return kExitSuccess;
}

int TestArchive(const std::string& path, LoadedArchive& archive, Console& console) {
  uint32_t bad = 0;
  uint32_t external = 0;
  for (uint32_t i = 0; i < archive.count(); ++i) {
    std::string why = RecordProblem(archive, i);
    if (why.empty() && archive.record(i).storedSize == 0) {
      ++external;
      continue;
    }
    if (why.empty() && CheckRecord(archive, i, &why)) continue;
    Tell(console, ShowHostName(path) + ": entry " + std::to_string(i) + " " +
                      Quoted(ShowEntryName(RecordName(archive.record(i)))) + ": " + why);
    ++bad;
  }
  if (bad > 0) {
    Tell(console, ShowHostName(path) + ": " + std::to_string(bad) + " of " +
                      std::to_string(archive.count()) + " entries are bad");
    return kExitFailure;
  }
  std::string summary = ShowHostName(path) + ": " + std::to_string(archive.count()) + " entries OK";
  if (external > 0) summary += " (" + std::to_string(external) + " external, not in the archive)";
  console.Print(summary + "\n");
  return kExitSuccess;
}

}  // namespace

int TestCommand(const Arguments& args, setup::FileSystem& files, Console& console) {
  std::string path;
  const int status = TakeOnePath(args, console, "test", kHelp, "FILE", &path);
  if (status != kTakePath) return status;

  LoadedArchive archive;
  std::string why;
  if (!LoadFile(files, path, &archive.image, &archive.size, &why)) {
    Tell(console, ShowHostName(path) + ": " + why);
    return kExitFailure;
  }
  if (setup::HasZfilMagic(archive.image.get(), archive.size)) {
    return TestZfil(path, archive.image.get(), archive.size, console);
  }
  if (!IndexArchive(&archive, &why)) {
    Tell(console, ShowHostName(path) + ": " + why);
    return kExitFailure;
  }
  return TestArchive(path, archive, console);
}

}  // namespace zarc
