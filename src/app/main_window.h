// What the main window does: its layout at each initialisation, the picture it paints, and its
// commands. The platform's dialog procedure only forwards messages here.
#pragma once

#include <cstdint>

namespace setup {

class FileSystem;
class Registry;
class Shell;
class Threads;
class WindowView;

// The platform pieces the main window and its flows work through.
struct MainWindowPlatform {
  FileSystem& files;
  Registry& registry;
  Shell& shell;
  Threads* threads = nullptr;  // for the install run's worker; none: setup cannot start one
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
  MainWindow(MainWindowPlatform& platform, WindowView& view) : platform_(platform), view_(view) {}

  // WM_INITDIALOG: caption, progress range and the layout. endResult is what the window ends
  // with when nothing is installed.
  void Initialise(int endResult);

  // The picture drawn 1:1 at (7, 7); info null when there is none.
  PictureToPaint Picture() const;

  // The busy animation: frames of the strip "parts.bmp", stacked top to bottom, cycled in the
  // bottom right corner of the picture while the install run copies.
  void StartBusyAnimation() { busyFrame_ = 0; }
  void StopBusyAnimation() { busyFrame_ = -1; }
  void AdvanceBusyFrame();
  // The frame to draw over the picture; info null when the animation is not running.
  FrameToPaint BusyFrame() const;

  // WM_COMMAND with a control id; false for ids the window does not handle.
  bool Command(int id);

 private:
  void Run();

  MainWindowPlatform& platform_;
  WindowView& view_;
  int busyFrame_ = -1;  // -1: no animation
};

// True when the package offers a fresh installation: it carries a licence.
bool OffersFreshInstall();

}  // namespace setup
