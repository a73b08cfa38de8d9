// The program's windows as the core sees them: controls addressed by id, message boxes, and the
// end of a modal dialog. The Win32 dialog procedures implement these; host tests script fakes.
#pragma once

#include <cstdint>

namespace setup {

// Message box styles used by the program; values as the Win32 MB_ flags.
enum MessageStyle : uint32_t {
  kMessageOk = 0x00,               // MB_OK
  kMessageOkCancel = 0x01,         // MB_OKCANCEL
  kMessageYesNo = 0x04,            // MB_YESNO
  kMessageIconError = 0x10,        // MB_ICONHAND
  kMessageIconQuestion = 0x20,     // MB_ICONQUESTION
  kMessageIconWarning = 0x30,      // MB_ICONEXCLAMATION
  kMessageIconInformation = 0x40,  // MB_ICONASTERISK
};

// Message box answers; values as the Win32 ID codes.
enum MessageAnswer : int {
  kAnswerOk = 1,
  kAnswerCancel = 2,
  kAnswerYes = 6,
  kAnswerNo = 7,
};

class WindowView {
 public:
  virtual ~WindowView() = default;

  // The platform's handle of the window, opaque to the core (owner of message boxes and shell
  // dialogs started elsewhere).
  virtual void* Handle() = 0;

  virtual void SetCaption(const char* text) = 0;
  virtual void ShowControl(int id, bool visible) = 0;
  virtual void SetControlText(int id, const char* text) = 0;
  virtual bool IsChecked(int id) = 0;
  virtual void SetChecked(int id, bool checked) = 0;
  virtual void SetProgressRange(int id, int low, int high) = 0;
  virtual void SetProgressPosition(int id, int position) = 0;
  // Repaints the whole client area, without erasing its background first.
  virtual void Invalidate() = 0;

  // Starts or stops the busy animation of the window's picture; callable from any thread. A
  // window without one keeps this.
  virtual void ShowBusyAnimation(bool on) {}

  // While a run is under way the session may not end (a log-off or a restart for updates would cut
  // it short): blocked from the window's thread when the run starts, released from whichever
  // thread ends it. A window that does not answer for the session keeps this.
  virtual void BlockSessionEnd(bool blocked) {}

  // A message box owned by this window; returns the button pressed.
  virtual int ShowMessage(const char* text, const char* caption, uint32_t style) = 0;

  // Ends this modal dialog with result.
  virtual void End(int result) = 0;

  // Runs the dialog of template templateId modally, owned by this window, and returns the result
  // it ended with; -1 if it could not be shown. A window that runs no nested dialogs keeps this.
  virtual int RunDialog(int templateId) { return -1; }
};

}  // namespace setup
