#include "platform/memory/host_shell.h"

#include <vector>

#include "base/text.h"
#include "platform/files.h"
#include "platform/memory/lnk_writer.h"

namespace setup {

void HostShell::SetSpecialFolder(SpecialFolder folder, const std::string& path) {
  (folder == SpecialFolder::kDesktop ? desktop_ : programs_) = path;
}

bool HostShell::SpecialFolderPath(void*, SpecialFolder folder, char* buffer, uint32_t capacity) {
  const std::string& path = folder == SpecialFolder::kDesktop ? desktop_ : programs_;
  if (path.empty()) {
    if (capacity > 0) buffer[0] = '\0';
    return false;
  }
  return CopyText(buffer, capacity, path.c_str());
}

int32_t HostShell::BeginComponents() { return kShellOk; }

void HostShell::EndComponents() {}

int32_t HostShell::WriteShortcut(const char* linkPath, const char* target, const char* workingDirectory,
                                  int showCommand) {
  std::vector<uint8_t> bytes;
  if (!BuildShortcutFile(target, workingDirectory, showCommand, &bytes)) return kShellInvalidArgument;
  auto file = files_.OpenForWriting(linkPath, WriteMode::kReplace);
  if (file == nullptr) return kShellFailed;
  bool written = file->Write(bytes.data(), uint32_t(bytes.size()));
  if (file->Close(false) && written) return kShellOk;
  files_.RemoveFile(linkPath);  // no torn shortcut is left behind
  return kShellFailed;
}

bool HostShell::Open(void*, const char* path) { return FileExists(files_, path); }

namespace {

// A browser without a window: what the core asks of it goes nowhere.
class WindowlessBrowser : public FolderBrowserView {
 public:
  void SelectFolder(const char*) override {}
  void SetStatusText(const char*) override {}
  void EnableOk(bool) override {}
};

}  // namespace

bool HostShell::BrowseForFolder(void*, FolderBrowserEvents& events, char* buffer, uint32_t capacity) {
  if (capacity > 0) buffer[0] = '\0';
  WindowlessBrowser browser;
  events.Opened(browser);
  if (browserChoice_.empty()) return false;
  events.SelectionChanged(browser, browserChoice_.c_str());
  return CopyText(buffer, capacity, browserChoice_.c_str());
}

}  // namespace setup
