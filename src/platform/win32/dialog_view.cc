#include "platform/win32/dialog_view.h"

#include <commctrl.h>


#include "platform/win32/wide_text.h"

namespace setup {

namespace {

// Text for Windows; bytes that are not valid code page 932 show as replacement characters.
class Wide {
 public:
  explicit Wide(const char* text) { ToWideForDisplay(text, &wide_); }
  const wchar_t* c_str() const { return wide_.c_str(); }

 private:
  WideText wide_;
};

}  // namespace

void DialogView::SetCaption(const char* text) { SetWindowTextW(dialog_, Wide(text).c_str()); }

void DialogView::ShowControl(int id, bool visible) {
  ShowWindow(GetDlgItem(dialog_, id), visible ? SW_SHOWNORMAL : SW_HIDE);
}

void DialogView::SetControlText(int id, const char* text) {
  SetWindowTextW(GetDlgItem(dialog_, id), Wide(text).c_str());
}

bool DialogView::IsChecked(int id) { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }

void DialogView::SetChecked(int id, bool checked) {
  CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void DialogView::SetProgressRange(int id, int low, int high) {
  SendDlgItemMessageW(dialog_, id, PBM_SETRANGE, 0, MAKELPARAM(low, high));
}

// From the install run's worker the new position is posted, not sent: a sent message waits for
// the window's thread to take it, a wait the worker paid for every file. On the window's own
// thread (a version-up) the bar is set at once, as before.
void DialogView::SetProgressPosition(int id, int position) {
  if (GetWindowThreadProcessId(dialog_, nullptr) == GetCurrentThreadId()) {
    SendDlgItemMessageW(dialog_, id, PBM_SETPOS, WPARAM(position), 0);
  } else {
    PostMessageW(GetDlgItem(dialog_, id), PBM_SETPOS, WPARAM(position), 0);
  }
}

void DialogView::Invalidate() { InvalidateRect(dialog_, nullptr, FALSE); }

// A window timer belongs to the thread that owns the window: the request goes there.
void DialogView::ShowBusyAnimation(bool on) { SendMessageW(dialog_, kBusyAnimationMessage, on, 0); }

int DialogView::ShowMessage(const char* text, const char* caption, uint32_t style) {
  return MessageBoxW(dialog_, Wide(text).c_str(), Wide(caption).c_str(), style);
}

void DialogView::End(int result) { EndDialog(dialog_, result); }

int DialogView::RunDialog(int templateId) {
  return nested_ != nullptr ? nested_->Run(dialog_, templateId) : -1;
}

}  // namespace setup
