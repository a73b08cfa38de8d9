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
// Posted to a dialog window that takes control texts from other threads (see DialogView); its
// procedure passes it to DialogView::ShowPostedText.
constexpr UINT kPostedTextMessage = WM_APP + 2;

class DialogView : public WindowView {
 public:
  // nested runs the dialogs this window opens; without it, none can be opened. With postsText,
  // a control text set from another thread is posted to the window (kPostedTextMessage), so the
  // caller does not wait for the window's thread: its procedure must then take that message.
  explicit DialogView(HWND dialog, NestedDialogs* nested = nullptr, bool postsText = false)
      : dialog_(dialog), nested_(nested), postsText_(postsText) {}
  ~DialogView() override;

  // Shows the posted text that a kPostedTextMessage stands for.
  void ShowPostedText();

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
  bool OnOtherThread() const;
  bool PostText(int id, const char* text);
  void Forget(int id);

  HWND dialog_;
  NestedDialogs* nested_;
  bool postsText_;
  // The text posted and not shown yet, replaced by a newer one for the same control; the lock is
  // over it alone.
  SRWLOCK pendingLock_ = SRWLOCK_INIT;
  struct PostedText* pending_ = nullptr;
  // The last short text posted, and its control: the same text again is not posted at all, as
  // only this view sets the control's text.
  int shownId_ = 0;
  wchar_t shown_[32] = {};
};

}  // namespace setup
