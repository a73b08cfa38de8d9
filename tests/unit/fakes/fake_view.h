// A window for presenter and engine tests: remembers what a user would see (visible controls,
// texts, caption, check marks, progress, message boxes) and answers message boxes and nested
// dialogs from a script.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
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
  void SetControlText(int id, const char* text) override {
    texts[id] = text;
    textHistory.emplace_back(id, text);
  }
  bool IsChecked(int id) override { return checked.count(id) != 0; }
  void SetChecked(int id, bool on) override;
  void SetProgressRange(int id, int low, int high) override { ranges[id] = {low, high}; }
  void SetProgressPosition(int id, int position) override {
    positions[id] = position;
    positionHistory.emplace_back(id, position);
  }
  void Invalidate() override { ++invalidations; }
  void ShowBusyAnimation(bool on) override;
  void BlockSessionEnd(bool blocked) override { sessionBlocks.push_back(blocked); }
  int ShowMessage(const char* text, const char* caption, uint32_t style) override;
  void End(int result) override { ended.push_back(result); }
  int RunDialog(int templateId) override;

  bool Visible(int id) const { return visible_.count(id) != 0; }
  std::set<int> VisibleControls() const { return visible_; }

  std::string caption;
  std::map<int, std::string> texts;
  std::set<int> checked;
  std::map<int, std::pair<int, int>> ranges;
  std::map<int, int> positions;
  // Every text and progress position set, in order.
  std::vector<std::pair<int, std::string>> textHistory;
  std::vector<std::pair<int, int>> positionHistory;
  int invalidations = 0;
  // Each start and stop of the busy animation, with what the window showed at that moment.
  struct BusySwitch {
    bool on;
    size_t messagesBefore;
    int progress;
  };
  std::vector<BusySwitch> busySwitches;
  std::vector<bool> sessionBlocks;  // each refusal of the session's end (true) and its release
  std::vector<ShownMessage> messages;
  std::deque<int> answers;  // answers to the next message boxes; OK when empty
  std::vector<int> ended;
  std::vector<int> dialogsRun;  // template ids of the nested dialogs, in order
  // What a nested dialog does, given its template id: returns its result, for example after
  // driving the dialog's presenter with a FakeView of its own. Unset: every one is cancelled (2).
  std::function<int(int templateId)> nestedDialog;

 private:
  std::set<int> visible_;
};

// What one run of FakeShell's folder browser showed.
struct FakeBrowser final : FolderBrowserView {
  // Selecting reports the selection at once, as the system's browser does.
  void SelectFolder(const char* path) override;
  void SetStatusText(const char* text) override { statusTexts.push_back(text); }
  void EnableOk(bool enabled) override { okEnabled = enabled; }

  std::string Status() const { return statusTexts.empty() ? std::string() : statusTexts.back(); }

  FolderBrowserEvents* events = nullptr;  // while the browser is open
  void* owner = nullptr;
  std::vector<std::string> selections;   // what the core selected
  std::vector<std::string> statusTexts;  // every status text, in order
  bool okEnabled = true;
};

// One scripted run of the folder browser: the selections the user moves through, then the folder
// chosen, or none for Cancel.
struct BrowseScript {
  std::vector<std::optional<std::string>> moves;  // nullopt: an item without a file-system path
  std::optional<std::string> choice;
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
  // Runs the next script of browses (Cancel when there is none), recording it in browsers.
  bool BrowseForFolder(void* owner, FolderBrowserEvents& events, char* buffer, uint32_t capacity) override;

  std::vector<std::string> opened;
  std::vector<std::string> shortcuts;  // "link -> target in folder"
  std::deque<BrowseScript> browses;
  std::vector<FakeBrowser> browsers;  // one per browse, in order
};

}  // namespace setup::testing
