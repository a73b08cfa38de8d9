#include "app/main_window.h"

#include "app/control_ids.h"
#include "app/flows.h"
#include "app/install_record.h"
#include "app/picture.h"
#include "app/setup_state.h"
#include "app/texts.h"
#include "archive/package_archive.h"
#include "platform/platform.h"
#include "platform/shell.h"
#include "platform/views.h"

namespace setup {

bool OffersFreshInstall() { return HasPackageEntry(kLicenceEntry); }

void MainWindow::Initialise(int endResult) {
  SetupState& s = setupState;
  s.mainWindow = view_.Handle();
  view_.SetCaption(s.mainFolderName);
  view_.SetProgressRange(IDC_PROGRESS, 0, 255);

  if (s.installed != 0 && s.installedVersion < kInstalledVersion) {
    view_.ShowControl(IDC_RUN, false);
    view_.ShowControl(IDC_UNINSTALL, false);
    view_.ShowControl(IDC_SETUP, false);
    s.versionUpMode = 1;
    return;
  }
  if (s.installed != 0) {
    view_.ShowControl(IDC_VERSION_UP, false);
    view_.ShowControl(IDC_SETUP, false);
    return;
  }
  // Nothing installed: a package with a licence is a full installer and offers Setup.
  if (s.versionUpMode == 0 && !OffersFreshInstall()) {
    view_.ShowMessage(kNotInstalledText, kVersionUpCaption, kMessageIconWarning);
    view_.End(endResult);
  }
  view_.ShowControl(IDC_RUN, false);
  view_.ShowControl(IDC_UNINSTALL, false);
  view_.ShowControl(IDC_VERSION_UP, false);
}

PictureToPaint MainWindow::Picture() const {
  const uint8_t* info = setupState.pictureInfo;
  if (info == nullptr) return {nullptr, nullptr, 0, 0};
  const int32_t height = PictureHeight(info);
  return {info, setupState.pictureBits, PictureWidth(info), height < 0 ? -height : height};
}

namespace {

constexpr int32_t kPictureLeft = 7;
constexpr int32_t kPictureTop = 7;
constexpr int32_t kBusyFrameMargin = 8;

// Frames in the strip: as many whole squares as it holds, at most the animation's count.
int32_t StripFrames(const uint8_t* info) {
  const int32_t width = PictureWidth(info);
  const int32_t height = PictureHeight(info);
  const int32_t frames = (height < 0 ? -height : height) / width;
  return frames < kBusyFrameCount ? frames : kBusyFrameCount;
}

}  // namespace

void MainWindow::AdvanceBusyFrame() {
  if (busyFrame_ < 0) return;
  busyFrame_ = busyFrame_ + 1 < kBusyFrameCount ? busyFrame_ + 1 : 0;
}

FrameToPaint MainWindow::BusyFrame() const {
  const uint8_t* strip = setupState.partsInfo;
  if (busyFrame_ < 0 || strip == nullptr || setupState.pictureInfo == nullptr) {
    return {nullptr, nullptr, 0, 0, 0, 0};
  }
  const int32_t frames = StripFrames(strip);
  if (frames == 0) return {nullptr, nullptr, 0, 0, 0, 0};
  // A strip of fewer frames repeats its own cycle.
  const int32_t frame = busyFrame_ % frames;
  const int32_t size = PictureWidth(strip);
  const int32_t height = PictureHeight(strip);
  const int32_t sourceY = height > 0 ? height - size * (frame + 1) : size * frame;

  const PictureToPaint picture = Picture();
  int32_t x = kPictureLeft + picture.width - size - kBusyFrameMargin;
  int32_t y = kPictureTop + picture.height - size - kBusyFrameMargin;
  if (x < kPictureLeft) x = kPictureLeft;
  if (y < kPictureTop) y = kPictureTop;
  return {strip, setupState.partsBits, x, y, size, sourceY};
}

bool MainWindow::Command(int id) {
  switch (id) {
    case IDC_CANCEL:
      // Esc and Alt+F4 arrive here too; the install run's worker still uses the window.
      if (!InstallRunning()) view_.End(IDC_CANCEL);
      return true;
    case IDC_RUN:
      Run();
      return true;
    case IDC_SETUP:
      SetupCommand(platform_, view_);
      return true;
    case IDC_VERSION_UP:
      VersionUpCommand(platform_, view_, *this);
      return true;
    case IDC_UNINSTALL:
      UninstallCommand(platform_, view_);
      return true;
    default:
      return false;
  }
}

void MainWindow::Run() {
  platform_.files.ChangeFolder(setupState.mainPath);
  platform_.shell.Open(view_.Handle(), setupState.executePath);
  view_.End(IDC_RUN);
}

}  // namespace setup
