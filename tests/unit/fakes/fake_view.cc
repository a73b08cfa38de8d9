#include "fakes/fake_view.h"

#include <cstring>

#include "model/control_ids.h"

namespace setup::testing {

void FakeView::ShowControl(int id, bool visible) {
  if (visible) {
    visible_.insert(id);
  } else {
    visible_.erase(id);
  }
}

void FakeView::SetChecked(int id, bool on) {
  if (on) {
    checked.insert(id);
  } else {
    checked.erase(id);
  }
}

void FakeView::ShowBusyAnimation(bool on) {
  busySwitches.push_back({on, messages.size(), positions.count(IDC_PROGRESS) ? positions[IDC_PROGRESS] : -1});
}

int FakeView::ShowMessage(const char* text, const char* title, uint32_t style) {
  messages.push_back({text, title, style});
  if (answers.empty()) return kAnswerOk;
  int answer = answers.front();
  answers.pop_front();
  return answer;
}

int FakeView::RunDialog(int templateId) {
  dialogsRun.push_back(templateId);
  return nestedDialog ? nestedDialog(templateId) : kAnswerCancel;
}

void FakeBrowser::SelectFolder(const char* path) {
  selections.push_back(path);
  if (events != nullptr) events->SelectionChanged(*this, path);
}

std::set<int> MainWindowControls() {
  return {IDC_SETUP, IDC_RUN, IDC_VERSION_UP, IDC_UNINSTALL, IDC_CANCEL};
}

bool FakeShell::SpecialFolderPath(void*, SpecialFolder folder, char* buffer, uint32_t capacity) {
  const std::string& path = folder == SpecialFolder::kDesktop ? desktop : programs;
  if (path.empty() || path.size() + 1 > capacity) {
    if (capacity > 0) buffer[0] = '\0';
    return false;
  }
  memcpy(buffer, path.c_str(), path.size() + 1);
  return true;
}

int32_t FakeShell::WriteShortcut(const char* linkPath, const char* target,
                                 const char* workingDirectory, int) {
  shortcuts.push_back(std::string(linkPath) + " -> " + target + " in " + workingDirectory);
  return kShellOk;
}

bool FakeShell::BrowseForFolder(void* owner, FolderBrowserEvents& events, char* buffer, uint32_t capacity) {
  if (capacity > 0) buffer[0] = '\0';
  BrowseScript script;
  if (!browses.empty()) {
    script = browses.front();
    browses.pop_front();
  }
  browsers.emplace_back();
  FakeBrowser& browser = browsers.back();
  browser.owner = owner;
  browser.events = &events;
  events.Opened(browser);
  for (const std::optional<std::string>& move : script.moves) {
    events.SelectionChanged(browser, move ? move->c_str() : nullptr);
  }
  browser.events = nullptr;
  if (!script.choice || script.choice->size() + 1 > capacity) return false;
  memcpy(buffer, script.choice->c_str(), script.choice->size() + 1);
  return true;
}

}  // namespace setup::testing
