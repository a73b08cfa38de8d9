// A main window for engine tests: remembers every text and progress position it is given.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/views.h"

namespace setup::testing {

class RecordingView : public WindowView {
 public:
  void* Handle() override { return this; }
  void SetCaption(const char*) override {}
  void ShowControl(int, bool) override {}
  void SetControlText(int id, const char* text) override { texts.emplace_back(id, text); }
  bool IsChecked(int) override { return false; }
  void SetChecked(int, bool) override {}
  void SetProgressRange(int, int, int) override {}
  void SetProgressPosition(int id, int position) override { positions.emplace_back(id, position); }
  void Invalidate() override {}
  int ShowMessage(const char*, const char*, uint32_t) override { return 1; }
  void End(int) override {}

  std::vector<std::pair<int, std::string>> texts;
  std::vector<std::pair<int, int>> positions;
};

}  // namespace setup::testing
