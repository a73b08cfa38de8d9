// The host's shell, which starts nothing: special folders come from the configuration, and
// shortcuts are real ".lnk" files written through the host FileSystem, so a host run leaves what
// setup.exe would.
#pragma once

#include <string>

#include "platform/file_system.h"
#include "platform/shell.h"

namespace setup {

class HostShell : public Shell {
 public:
  // Shortcut files are written through files, which must outlive the shell.
  explicit HostShell(FileSystem& files) : files_(files) {}

  // Sets where a special folder is, in Windows form ("C:\Users\me\Desktop"); an empty path makes it
  // unknown again, as it is at first.
  void SetSpecialFolder(SpecialFolder folder, const std::string& path);

  bool SpecialFolderPath(void* owner, SpecialFolder folder, char* buffer, uint32_t capacity) override;
  // There are no components to start on the host: always succeeds.
  int32_t BeginComponents() override;
  void EndComponents() override;
  int32_t WriteShortcut(const char* linkPath, const char* target, const char* workingDirectory,
                        int showCommand) override;
  // The host has no file associations: true when path names a file that could be opened, without
  // starting anything.
  bool Open(void* owner, const char* path) override;

  // The folder the host's browser chooses, in Windows form; "" (as at first) cancels.
  void SetBrowserChoice(const std::string& path) { browserChoice_ = path; }
  // No window: opens, reports the configured choice as the one selection and returns it.
  bool BrowseForFolder(void* owner, FolderBrowserEvents& events, char* buffer, uint32_t capacity) override;

 private:
  FileSystem& files_;
  std::string desktop_;
  std::string programs_;
  std::string browserChoice_;
};

}  // namespace setup
