// A window for presenter tests: remembers what a user would see (visible controls, texts, caption,
// check marks, message boxes) and answers message boxes from a script.
#pragma once

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/shell.h"
#include "platform/views.h"

namespace setup::testing {

struct ShownMessage {
  std::string text;
  std::string caption;
  uint32_t style;
};

class FakeView : public WindowView {
 public:
  // visible: the controls shown when the window opens.
  explicit FakeView(std::set<int> visible) : visible_(std::move(visible)) {}

  void* Handle() override { return this; }
  void SetCaption(const char* text) override { caption = text; }
  void ShowControl(int id, bool visible) override;
  void SetControlText(int id, const char* text) override { texts[id] = text; }
  bool IsChecked(int id) override { return checked.count(id) != 0; }
  void SetChecked(int id, bool on) override;
  void SetProgressRange(int id, int low, int high) override { ranges[id] = {low, high}; }
  void SetProgressPosition(int id, int position) override { positions[id] = position; }
  void Invalidate() override { ++invalidations; }
  int ShowMessage(const char* text, const char* caption, uint32_t style) override;
  void End(int result) override { ended.push_back(result); }

  bool Visible(int id) const { return visible_.count(id) != 0; }
  std::set<int> VisibleControls() const { return visible_; }

  std::string caption;
  std::map<int, std::string> texts;
  std::set<int> checked;
  std::map<int, std::pair<int, int>> ranges;
  std::map<int, int> positions;
  int invalidations = 0;
  std::vector<ShownMessage> messages;
  std::deque<int> answers;  // answers to the next message boxes; OK when empty
  std::vector<int> ended;

 private:
  std::set<int> visible_;
};

// The main window's controls that show when its template opens: every button.
std::set<int> MainWindowControls();

// A shell whose folders come from the test and that records what it was asked to open.
class FakeShell : public Shell {
 public:
  bool SpecialFolderPath(void*, SpecialFolder folder, char* buffer, uint32_t capacity) override;
  int32_t BeginComponents() override { return kShellOk; }
  void EndComponents() override {}
  int32_t WriteShortcut(const char* linkPath, const char* target, const char* workingDirectory,
                        int showCommand) override;
  bool Open(void* owner, const char* path) override {
    opened.push_back(path);
    return true;
  }

  std::string desktop = "C:\\Users\\me\\Desktop";
  std::string programs = "C:\\Users\\me\\Start Menu\\Programs";
  std::vector<std::string> opened;
  std::vector<std::string> shortcuts;  // "link -> target in folder"
};

}  // namespace setup::testing
