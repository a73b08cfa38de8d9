// A dialog window as the core's WindowView: every text goes to Windows through the wide API,
// converted from code page 932 explicitly.
#pragma once

#include <windows.h>

#include "platform/views.h"

namespace setup {

// Starts the nested modal dialogs of a window: the program supplies it, as it knows their
// dialog procedures.
class NestedDialogs {
 public:
  // The dialog's result, or -1 if it could not be shown.
  virtual int Run(HWND owner, int templateId) = 0;

 protected:
  ~NestedDialogs() = default;
};

// Sent to a dialog window to start (wParam 1) or stop (0) its busy animation on its own thread.
constexpr UINT kBusyAnimationMessage = WM_APP + 1;

class DialogView : public WindowView {
 public:
  // nested runs the dialogs this window opens; without it, none can be opened.
  explicit DialogView(HWND dialog, NestedDialogs* nested = nullptr) : dialog_(dialog), nested_(nested) {}

  void* Handle() override { return dialog_; }
  void SetCaption(const char* text) override;
  void ShowControl(int id, bool visible) override;
  void SetControlText(int id, const char* text) override;
  bool IsChecked(int id) override;
  void SetChecked(int id, bool checked) override;
  void SetProgressRange(int id, int low, int high) override;
  void SetProgressPosition(int id, int position) override;
  void Invalidate() override;
  void ShowBusyAnimation(bool on) override;
  int ShowMessage(const char* text, const char* caption, uint32_t style) override;
  void End(int result) override;
  int RunDialog(int templateId) override;

 private:
  HWND dialog_;
  NestedDialogs* nested_;
};

}  // namespace setup
