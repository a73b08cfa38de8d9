#include "program/dialogs/main_window_proc.h"

#include "model/texts.h"
#include "platform/win32/dialog_view.h"
#include "platform/win32/wide_text.h"

namespace setup {

namespace {

// The presenter and its view live as long as the dialog window.
struct MainWindowState {
  MainWindowState(HWND window, const MainWindowContext& context)
      : view(window, context.dialogs, true), presenter(*context.platform, *context.session, view) {}
  DialogView view;
  MainWindow presenter;
};

MainWindowState* StateOf(HWND window) {
  return reinterpret_cast<MainWindowState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void Paint(HWND window, const MainWindow& presenter) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  PictureToPaint picture = presenter.Picture();
  if (picture.info != nullptr) {
    StretchDIBits(dc, 7, 7, picture.width, picture.height, 0, 0, picture.width, picture.height,
                  picture.bits, reinterpret_cast<const BITMAPINFO*>(picture.info), DIB_RGB_COLORS,
                  SRCCOPY);
  }
  FrameToPaint frame = presenter.BusyFrame();
  if (frame.info != nullptr) {
    StretchDIBits(dc, frame.x, frame.y, frame.size, frame.size, 0, frame.sourceY, frame.size,
                  frame.size, frame.bits, reinterpret_cast<const BITMAPINFO*>(frame.info),
                  DIB_RGB_COLORS, SRCCOPY);
  }
  EndPaint(window, &paint);
}

void InvalidateBusyFrame(HWND window, const MainWindow& presenter) {
  FrameToPaint frame = presenter.BusyFrame();
  if (frame.info == nullptr) return;
  RECT area = {frame.x, frame.y, frame.x + frame.size, frame.y + frame.size};
  InvalidateRect(window, &area, FALSE);
}

void SwitchBusyAnimation(HWND window, MainWindow& presenter, bool on) {
  if (on) {
    presenter.StartBusyAnimation();
    SetTimer(window, kBusyTimerId, kBusyFramePeriodMs, nullptr);
    InvalidateBusyFrame(window, presenter);
  } else {
    KillTimer(window, kBusyTimerId);
    InvalidateBusyFrame(window, presenter);  // the picture beneath comes back
    presenter.StopBusyAnimation();
  }
}

}  // namespace

INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MainWindowState* state = StateOf(window);
  switch (message) {
    case WM_INITDIALOG: {
      if (state == nullptr) {
        auto* context = reinterpret_cast<MainWindowContext*>(lParam);
        state = new MainWindowState(window, *context);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
      }
      state->presenter.Initialise(LOWORD(wParam));
      return TRUE;
    }
    case WM_PAINT:
      if (state == nullptr) return FALSE;
      Paint(window, state->presenter);
      return FALSE;
    case kPostedUpdatesMessage:
      if (state != nullptr) state->view.ShowPostedUpdates();
      return TRUE;
    case kBusyAnimationMessage:
      if (state != nullptr) SwitchBusyAnimation(window, state->presenter, wParam != 0);
      return TRUE;
    case WM_TIMER:
      if (state == nullptr || wParam != kBusyTimerId) return FALSE;
      state->presenter.AdvanceBusyFrame();
      InvalidateBusyFrame(window, state->presenter);
      return TRUE;
    case kSessionEndMessage:
      // The system shows the reason beside the program when it asks to end the session.
      if (wParam != 0) {
        WideText reason;
        if (ToWideForDisplay(kRunUnderWayText, &reason)) ShutdownBlockReasonCreate(window, reason.c_str());
      } else {
        ShutdownBlockReasonDestroy(window);
      }
      return TRUE;
    case WM_QUERYENDSESSION:
      // A log-off or restart in the middle of a run would leave a mix of versions, or a fresh
      // installation never taken back: refused while a run is under way.
      if (state == nullptr || !state->presenter.InstallRunning()) return FALSE;
      SetWindowLongPtrW(window, DWLP_MSGRESULT, FALSE);
      return TRUE;
    case WM_COMMAND:
      return state != nullptr && state->presenter.Command(LOWORD(wParam)) ? TRUE : FALSE;
    case WM_NCDESTROY:
      delete state;
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace setup
