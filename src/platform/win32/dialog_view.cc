#include "platform/win32/dialog_view.h"

#include <commctrl.h>

#include <new>
#include <utility>

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

// A control's text on its way to the window's thread.
struct PostedText {
  int id;
  WideText text;
};

DialogView::~DialogView() { delete pending_; }

bool DialogView::OnOtherThread() const { return GetWindowThreadProcessId(dialog_, nullptr) != GetCurrentThreadId(); }

// A text still on its way is replaced rather than followed: the window shows only the newest, and
// its thread is not kept painting texts nobody sees (the progress sets its text only when it
// changes). False when the text has to be sent after all (no memory, no post, another control's
// text under way).
bool DialogView::PostText(int id, const char* text) {
  auto* posted = new (std::nothrow) PostedText{id, {}};
  if (posted == nullptr || !ToWideForDisplay(text, &posted->text)) {
    delete posted;
    return false;
  }
  PostedText* replaced = nullptr;
  AcquireSRWLockExclusive(&pendingLock_);
  const bool other = pending_ != nullptr && pending_->id != id;
  const bool post = !other && !inFlight_;
  if (post) inFlight_ = true;
  if (!other) {
    std::swap(replaced, pending_);
    pending_ = posted;
    posted = nullptr;
  }
  ReleaseSRWLockExclusive(&pendingLock_);
  delete replaced;
  delete posted;
  if (other) return false;
  if (!post || PostUpdates()) return true;
  Forget(id);
  return false;
}

// A position still on its way is replaced by the newer one, as a text is.
bool DialogView::PostPosition(int id, int position) {
  AcquireSRWLockExclusive(&pendingLock_);
  const bool other = pendingBar_ != 0 && pendingBar_ != id;
  const bool post = !other && !inFlight_;
  if (!other) {
    pendingBar_ = id;
    pendingPosition_ = position;
  }
  if (post) inFlight_ = true;
  ReleaseSRWLockExclusive(&pendingLock_);
  return !other && (!post || PostUpdates());
}

bool DialogView::PostUpdates() {
  if (PostMessageW(dialog_, kPostedUpdatesMessage, 0, 0)) return true;
  AcquireSRWLockExclusive(&pendingLock_);
  inFlight_ = false;
  pendingBar_ = 0;
  ReleaseSRWLockExclusive(&pendingLock_);
  return false;
}

// The control's text is set another way: a posted one must not come after it.
void DialogView::Forget(int id) {
  PostedText* dropped = nullptr;
  AcquireSRWLockExclusive(&pendingLock_);
  if (pending_ != nullptr && pending_->id == id) std::swap(dropped, pending_);
  ReleaseSRWLockExclusive(&pendingLock_);
  delete dropped;
}

void DialogView::ShowPostedUpdates() {
  AcquireSRWLockExclusive(&pendingLock_);
  PostedText* posted = pending_;
  pending_ = nullptr;
  const int bar = pendingBar_, position = pendingPosition_;
  pendingBar_ = 0;
  inFlight_ = false;
  ReleaseSRWLockExclusive(&pendingLock_);
  if (bar != 0) SendDlgItemMessageW(dialog_, bar, PBM_SETPOS, WPARAM(position), 0);
  if (posted == nullptr) return;
  SetDlgItemTextW(dialog_, posted->id, posted->text.c_str());
  delete posted;
}

void DialogView::SetCaption(const char* text) { SetWindowTextW(dialog_, Wide(text).c_str()); }

void DialogView::ShowControl(int id, bool visible) {
  ShowWindow(GetDlgItem(dialog_, id), visible ? SW_SHOWNORMAL : SW_HIDE);
}

// From the install run's worker the percent text is posted: a sent text waited, for every file,
// until the window's thread had taken it, and that thread was often busy painting the last one.
void DialogView::SetControlText(int id, const char* text) {
  if (postsUpdates_ && OnOtherThread() && PostText(id, text)) return;
  if (postsUpdates_) Forget(id);
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
// thread (a version-up) the bar is set at once, as before, and a posted position still on its way
// is dropped so as not to land after it.
void DialogView::SetProgressPosition(int id, int position) {
  const bool otherThread = OnOtherThread();
  if (postsUpdates_ && otherThread && PostPosition(id, position)) return;
  if (otherThread) {
    PostMessageW(GetDlgItem(dialog_, id), PBM_SETPOS, WPARAM(position), 0);
    return;
  }
  if (postsUpdates_) {
    AcquireSRWLockExclusive(&pendingLock_);
    if (pendingBar_ == id) pendingBar_ = 0;
    ReleaseSRWLockExclusive(&pendingLock_);
  }
  SendDlgItemMessageW(dialog_, id, PBM_SETPOS, WPARAM(position), 0);
}

void DialogView::Invalidate() { InvalidateRect(dialog_, nullptr, FALSE); }

// A window timer belongs to the thread that owns the window: the request goes there.
void DialogView::ShowBusyAnimation(bool on) { SendMessageW(dialog_, kBusyAnimationMessage, on, 0); }

// Posted: the run's end comes from its worker, which must not wait for the window's thread.
void DialogView::BlockSessionEnd(bool blocked) { PostMessageW(dialog_, kSessionEndMessage, blocked, 0); }

int DialogView::ShowMessage(const char* text, const char* caption, uint32_t style) {
  return MessageBoxW(dialog_, Wide(text).c_str(), Wide(caption).c_str(), style);
}

void DialogView::End(int result) { EndDialog(dialog_, result); }

int DialogView::RunDialog(int templateId) {
  return nested_ != nullptr ? nested_->Run(dialog_, templateId) : -1;
}

}  // namespace setup
