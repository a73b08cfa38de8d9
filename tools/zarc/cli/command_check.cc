// zarc check: what the setup program would make of a package, before anyone ships it.
#include <vector>

#include "zarc/archive/archive_file.h"
#include "zarc/check/package_check.h"
#include "zarc/cli/commands.h"
#include "zarc/system/host.h"

namespace zarc {

namespace {

const char kHelp[] =
    "Usage: zarc check PACKAGE.zarc\n"
    "Reads the package with the setup program's own parser and picture loader and reports what\n"
    "would go wrong, each finding with its entry and, for setup.txt, its line:\n"
    "\n"
    "  errors    the setup program would end without a window or install something other than\n"
    "            meant: no setup.txt, a script it refuses, a picture it cannot show, an #I\n"
    "            naming no entry, a damaged entry, a script or licence saved as UTF-8\n"
    "  warnings  no licence (the package only upgrades), #E #R #U naming files nothing installs,\n"
    "            #D below what the files take, lines not ending in CR LF, text that is not code\n"
    "            page 932\n"
    "\n"
    "\n"
    "The findings and the summary after them go to standard error.\n"
    "Exit status: 0 without errors (warnings may have been printed), 1 with errors.\n";

}  // namespace

int CheckCommand(const Arguments& args, setup::FileSystem& files, Console& console) {
  std::string path;
  const int status = TakeOnePath(args, console, "check", kHelp, "PACKAGE", &path);
  if (status != kTakePath) return status;

  std::unique_ptr<uint8_t[]> data;
  uint32_t size = 0;
  std::string why;
  if (!LoadFile(files, path, &data, &size, &why)) {
    Tell(console, ShowHostName(path) + ": " + why);
    return kExitFailure;
  }
  const std::vector<Finding> findings =
      CheckPackage(std::vector<unsigned char>(data.get(), data.get() + size));
  const bool errors = ReportFindings(findings, console);
  size_t errorCount = 0;
  for (const Finding& finding : findings) errorCount += finding.error ? 1 : 0;
  const size_t warningCount = findings.size() - errorCount;
  // One stream for findings and summary: split over two, a log could show the summary first.
  if (findings.empty()) {
    console.Complain(ShowHostName(path) + ": no problems found\n");
  } else {
    console.Complain(ShowHostName(path) + ": " + std::to_string(errorCount) +
                     (errorCount == 1 ? " error, " : " errors, ") + std::to_string(warningCount) +
                     (warningCount == 1 ? " warning\n" : " warnings\n"));
  }
  return errors ? kExitFailure : kExitSuccess;
}

}  // namespace zarc
