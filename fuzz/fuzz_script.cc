// An install script from the package: parsed into a script, then its install list carried
// out into an in-memory disk, as a setup would.
#include <cstring>
#include <vector>

#include "archive/package_archive.h"
#include "fakes/fake_file_system.h"
#include "platform/memory/memory_resources.h"
#include "fakes/fake_view.h"
#include "fuzz_support.h"
#include "install/file_installation.h"
#include "install/progress.h"
#include "model/package_script.h"
#include "script/install_script.h"

using namespace setup;

namespace {

bool Terminated(const char* field, size_t capacity) { return memchr(field, '\0', capacity) != nullptr; }

void CheckScriptIsWellFormed(const PackageScript& s) {
  for (const char* field : {s.registryPath, s.defaultInstallDir, s.mainFolderName, s.executableName,
                            s.readmeName, s.startMenuPath, s.programLinkName, s.readmeLinkName,
                            s.uninstallerName}) {
    FUZZ_CHECK(Terminated(field, kPathCapacity));
  }
  FUZZ_CHECK(s.installList.count >= 0 && s.installList.count <= kMaxInstallEntries);
  for (int i = 0; i < s.installList.count; ++i) {
    const InstallEntry& entry = s.installList.entries[i];
    FUZZ_CHECK(entry.type >= kExtractEntry && entry.type <= kIfOptionIs);
    FUZZ_CHECK(Terminated(entry.text, kInstallTextCapacity));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  testing::FakeFileSystem files;
  files.AddFile("setup.txt", fuzz::ToBytes(data, size));
  files.AddFile("payload.bin", "bytes on the medium");
  files.AddFolder("C:\\setup\\tree");
  files.AddFile("C:\\setup\\tree\\a.txt", "a");
  MemoryResources resources;
  resources.Add(135, fuzz::EmptyArchive());
  static PackageArchive archive;
  FUZZ_CHECK(archive.Open(files, resources, 135));

  static PackageScript script;
  script = PackageScript();
  if (ParseInstallScript(archive, "setup.txt", &script)) {
    CheckScriptIsWellFormed(script);
    // The options dialog proposes the script's folder; the list is carried out there.
    const char* installDir = script.defaultInstallDir[0] != '\0' ? script.defaultInstallDir : "C:\\Program Files\\Product";
    const InstallList& list = script.installList;
    const std::vector<InstallEntry> before(list.entries, list.entries + list.count);
    testing::FakeView window(testing::MainWindowControls());
    RunProgress progress(window);
    const RunPlan plan{archive, script.installList.entries, script.installList.count, installDir, 0};
    InstallFiles(files, progress, plan);
    // The list is only read.
    FUZZ_CHECK(size_t(list.count) == before.size());
    FUZZ_CHECK(before.empty() || memcmp(before.data(), list.entries, sizeof(InstallEntry) * before.size()) == 0);
  }
  archive.Close();
  return 0;
}
