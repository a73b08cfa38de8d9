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
// Posted to a dialog window that takes control updates from other threads (see DialogView); its
// procedure passes it to DialogView::ShowPostedUpdates.
constexpr UINT kPostedUpdatesMessage = WM_APP + 2;

// Posted to a dialog window to refuse the session's end with the reason of a run under way
// (wParam 1), or to give up the refusal (0).
constexpr UINT kSessionEndMessage = WM_APP + 3;

class DialogView : public WindowView {
 public:
  // nested runs the dialogs this window opens; without it, none can be opened. With postsUpdates,
  // a control text or progress position set from another thread is posted to the window
  // (kPostedUpdatesMessage), so the caller does not wait for the window's thread: its procedure
  // must then take that message.
  explicit DialogView(HWND dialog, NestedDialogs* nested = nullptr, bool postsUpdates = false)
      : dialog_(dialog), nested_(nested), postsUpdates_(postsUpdates) {}
  ~DialogView() override;

  // Shows the posted text and position that a kPostedUpdatesMessage stands for.
  void ShowPostedUpdates();

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
  void BlockSessionEnd(bool blocked) override;
  int ShowMessage(const char* text, const char* caption, uint32_t style) override;
  void End(int result) override;
  int RunDialog(int templateId) override;

 private:
  bool OnOtherThread() const;
  bool PostText(int id, const char* text);
  bool PostPosition(int id, int position);
  bool PostUpdates();  // with pendingLock_ released; false when the post failed
  void Forget(int id);

  HWND dialog_;
  NestedDialogs* nested_;
  bool postsUpdates_;
  // What is posted and not shown yet, each replaced by a newer one for the same control, and
  // whether a kPostedUpdatesMessage is on its way; the lock is over these.
  SRWLOCK pendingLock_ = SRWLOCK_INIT;
  struct PostedText* pending_ = nullptr;
  int pendingBar_ = 0;  // the progress bar's id, 0 for no position
  int pendingPosition_ = 0;
  bool inFlight_ = false;
};

}  // namespace setup
