// The free-space check: #D covers what the files take.
#include <cstring>
#include <set>
#include <string>

#include "archive/package_archive.h"
#include "script/install_script.h"
#include "zarc/check/check_run.h"

namespace zarc {

namespace {

constexpr uint64_t kMegabyte = 1 << 20;

}  // namespace

// #D must cover what the files take, or the free-space test lets too small a disk pass.
void CheckRequiredSpace(CheckRun& run, const setup::PackageScript& script) {
  const LoadedArchive& archive = run.package.records();
  uint64_t total = 0;
  std::set<std::string> counted;
  const setup::InstallList& list = script.installList;
  for (int i = 0; i < list.count; ++i) {
    const setup::InstallEntry& entry = list.entries[i];
    if (entry.type == setup::kWriteNewFile) {
      const char* comma = strchr(entry.text, ',');
      if (comma != nullptr) total += strlen(comma + 1);
    }
    if (entry.type != setup::kExtractEntry) continue;
    char keyBuffer[setup::kLookupKeyCapacity];
    const std::string key = setup::LookupKey(keyBuffer, entry.text);
    // An entry whose file is not certain counts as one of its own: the files may need the room.
    std::string path;
    if (InstalledPath(entry.text, &path) && !counted.insert(path).second) continue;
    for (uint32_t r = archive.count(); r-- > 0;) {
      if (RecordName(archive.record(r)) == key) {
        total += archive.record(r).fullSize;
        break;
      }
    }
  }
  const int64_t required = script.requiredMB;
  if (required < 0) {
    run.Error(setup::kScriptEntry, run.SettingLine('D'),
              "#D=" + std::to_string(required) +
                  " is negative; the setup "
                  "program reads it as about 4 PB and finds every disk too small");
    return;
  }
  if (total == 0 || (required >= 0 && uint64_t(required) * kMegabyte >= total)) return;
  const uint64_t needed = (total + kMegabyte - 1) / kMegabyte;
  const std::string take = "the files it installs take " + std::to_string(total) + " bytes";
  if (run.SettingLine('D') == 0) {
    run.Warn(setup::kScriptEntry, 0,
             "no #D, yet " + take + "; write #D=" + std::to_string(needed) +
                 " so that the free-space test can stop a disk too small");
  } else {
    run.Warn(setup::kScriptEntry, run.SettingLine('D'),
             "#D=" + std::to_string(required) + " MB, but " + take +
                 "; write at least #D=" + std::to_string(needed));
  }
}

}  // namespace zarc
