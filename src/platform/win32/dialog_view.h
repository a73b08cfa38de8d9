// A dialog window as the core's WindowView: every text goes to Windows through the wide API,
// converted from code page 932 explicitly.
#pragma once

#include <windows.h>

#include "platform/views.h"

namespace setup {

class DialogView : public WindowView {
 public:
  explicit DialogView(HWND dialog) : dialog_(dialog) {}

  void* Handle() override { return dialog_; }
  void SetCaption(const char* text) override;
  void ShowControl(int id, bool visible) override;
  void SetControlText(int id, const char* text) override;
  bool IsChecked(int id) override;
  void SetChecked(int id, bool checked) override;
  void SetProgressRange(int id, int low, int high) override;
  void SetProgressPosition(int id, int position) override;
  void Invalidate() override;
  int ShowMessage(const char* text, const char* caption, uint32_t style) override;
  void End(int result) override;

 private:
  HWND dialog_;
};

}  // namespace setup
