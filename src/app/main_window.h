// What the main window does: its layout at each initialisation, the picture it paints, and its
// commands. The platform's dialog procedure only forwards messages here.
#pragma once

#include <atomic>
#include <cstdint>

#include "install/progress.h"

namespace setup {

class FileSystem;
class ProgramsInUse;
class Registry;
class Shell;
class Threads;
class WindowView;
struct SetupSession;

// The platform pieces the main window and its flows work through.
struct MainWindowPlatform {
  FileSystem& files;
  Registry& registry;
  Shell& shell;
  Threads* threads = nullptr;  // for the install run's worker; none: setup cannot start one
  ProgramsInUse* programsInUse = nullptr;  // none: held files are found by trying each
};

// The main picture as painting needs it.
struct PictureToPaint {
  const uint8_t* info;  // BITMAPINFO
  const uint8_t* bits;
  int32_t width;
  int32_t height;  // rows to draw
};

// One square frame of the busy animation's strip, drawn 1:1 at (x, y) from the strip's source
// rectangle (0, sourceY, size, size) as the DIB functions count rows: from the bottom for a
// bottom-up strip.
struct FrameToPaint {
  const uint8_t* info;  // BITMAPINFO of the whole strip
  const uint8_t* bits;
  int32_t x;
  int32_t y;
  int32_t size;
  int32_t sourceY;
};

// The busy animation's window timer.
constexpr int kBusyTimerId = 100;
constexpr unsigned kBusyFramePeriodMs = 80;
constexpr int kBusyFrameCount = 16;

class MainWindow {
 public:
  MainWindow(MainWindowPlatform& platform, SetupSession& session, WindowView& view)
      : platform_(platform), session_(session), view_(view), progress_(view) {}
  // Waits for an install run's worker that is still finishing, so it never outlives the window.
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  MainWindowPlatform& platform() { return platform_; }
  SetupSession& session() { return session_; }
  WindowView& view() { return view_; }
  // The bar and percent text of the install runs, one run at a time.
  RunProgress& progress() { return progress_; }

  // WM_INITDIALOG: caption, progress range and the layout. endResult is what the window ends
  // with when nothing is installed.
  void Initialise(int endResult);

  // The layouts, each named for the moment it shows. Buttons not named keep their state.
  // An older version installed: Version up and Cancel.
  void ShowVersionUpLayout();
  // The current version installed: Run, Uninstall and Cancel.
  void ShowMaintenanceLayout();
  // Nothing installed, also behind the warning that ends the program: Setup and Cancel.
  void ShowSetupLayout();
  // Copying: the buttons give way to the progress bar, and to its percent text when asked for.
  void ShowBusyLayout(bool percentText);
  // After an install or a version-up: Run, Uninstall and Cancel, the progress display hidden.
  void ShowInstalledLayout();
  // After a failed install run, or one that stopped before it changed anything: Setup again, or
  // Cancel.
  void ShowSetupFailedLayout();
  // After a version-up that stopped before it changed anything: Version up again, or Cancel.
  void ShowVersionUpAgainLayout();
  // After a failed version-up: Cancel alone.
  void ShowVersionUpFailedLayout();

  // The picture drawn 1:1 at (7, 7); info null when there is none.
  PictureToPaint Picture() const;

  // The busy animation: frames of the strip "parts.bmp", stacked top to bottom, cycled in the
  // bottom right corner of the picture while the install run copies.
  void StartBusyAnimation() { busyFrame_ = 0; }
  void StopBusyAnimation() { busyFrame_ = -1; }
  void AdvanceBusyFrame();
  // The frame to draw over the picture; info null when the animation is not running.
  FrameToPaint BusyFrame() const;

  // WM_COMMAND with a control id; false for ids the window does not handle. While an install run
  // or a version-up copies on its worker, every command is taken and ignored: none may end the
  // program or start another road.
  bool Command(int id);

  // The worker of an install run or a version-up, routine called with this window. Started on the
  // window's thread, which alone starts and joins it; the worker says it is done as its last use
  // of the window. False when no worker can be started.
  bool StartWorker(void (*routine)(void*));
  bool StartInstallRun();
  bool InstallRunning() const { return installRunning_.load(); }
  void InstallRunDone();

 private:
  void Run();
  void JoinWorker();

  MainWindowPlatform& platform_;
  SetupSession& session_;
  WindowView& view_;
  RunProgress progress_;
  int busyFrame_ = -1;  // -1: no animation; the window's thread only
  // The worker's handle: stored by Threads::Start before the worker runs, cleared by the window's
  // thread alone once it has joined the worker.
  void* worker_ = nullptr;
  std::atomic<bool> installRunning_{false};
};

// True when the package offers a fresh installation: it carries a licence.
bool OffersFreshInstall(const SetupSession& session);

}  // namespace setup
