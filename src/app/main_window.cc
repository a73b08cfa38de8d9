#include "app/main_window.h"

#include "app/flows.h"
#include "app/install_record.h"
#include "app/install_run.h"
#include "app/picture.h"
#include "app/session.h"
#include "model/control_ids.h"
#include "model/package_layout.h"
#include "model/texts.h"
#include "platform/file_system.h"
#include "platform/shell.h"
#include "platform/threads.h"
#include "platform/views.h"

namespace setup {

bool OffersFreshInstall(const SetupSession& session) { return session.archive.Has(kLicenceEntry); }

MainWindow::~MainWindow() { JoinWorker(); }

void MainWindow::Initialise(int endResult) {
  const Installation& installed = session_.installation;
  SetupChoices& choices = session_.choices;
  view_.SetCaption(session_.script.mainFolderName);
  view_.SetProgressRange(IDC_PROGRESS, 0, kProgressRange);

  // Below the package's version: an upgrade. Equal or above: maintenance, so an older package
  // never downgrades a newer installation.
  if (installed.installed != 0 && installed.installedVersion < PackageVersion(session_.script)) {
    ShowVersionUpLayout();
    choices.versionUpMode = 1;
    return;
  }
  if (installed.installed != 0) {
    ShowMaintenanceLayout();
    return;
  }
  // Nothing installed: a package with a licence is a full installer and offers Setup.
  if (choices.versionUpMode == 0 && !OffersFreshInstall(session_)) {
    view_.ShowMessage(kNotInstalledText, kVersionUpCaption, kMessageIconWarning);
    view_.End(endResult);
  }
  ShowSetupLayout();
}

void MainWindow::ShowVersionUpLayout() {
  view_.ShowControl(IDC_RUN, false);
  view_.ShowControl(IDC_UNINSTALL, false);
  view_.ShowControl(IDC_SETUP, false);
}

void MainWindow::ShowMaintenanceLayout() {
  view_.ShowControl(IDC_VERSION_UP, false);
  view_.ShowControl(IDC_SETUP, false);
}

void MainWindow::ShowSetupLayout() {
  view_.ShowControl(IDC_RUN, false);
  view_.ShowControl(IDC_UNINSTALL, false);
  view_.ShowControl(IDC_VERSION_UP, false);
}

void MainWindow::ShowBusyLayout(bool percentText) {
  view_.ShowControl(IDC_SETUP, false);
  view_.ShowControl(IDC_RUN, false);
  view_.ShowControl(IDC_VERSION_UP, false);
  view_.ShowControl(IDC_CANCEL, false);
  view_.ShowControl(IDC_PROGRESS, true);
  if (percentText) view_.ShowControl(IDC_PERCENT, true);
}

void MainWindow::ShowInstalledLayout() {
  view_.ShowControl(IDC_PROGRESS, false);
  view_.ShowControl(IDC_PERCENT, false);
  view_.ShowControl(IDC_CANCEL, true);
  view_.ShowControl(IDC_SETUP, false);
  view_.ShowControl(IDC_RUN, true);
  view_.ShowControl(IDC_UNINSTALL, true);
  view_.ShowControl(IDC_VERSION_UP, false);
}

void MainWindow::ShowSetupFailedLayout() {
  view_.ShowControl(IDC_PROGRESS, false);
  view_.ShowControl(IDC_PERCENT, false);
  view_.ShowControl(IDC_SETUP, true);
  view_.ShowControl(IDC_CANCEL, true);
}

void MainWindow::ShowVersionUpAgainLayout() {
  view_.ShowControl(IDC_PROGRESS, false);
  view_.ShowControl(IDC_VERSION_UP, true);
  view_.ShowControl(IDC_CANCEL, true);
}

void MainWindow::ShowVersionUpFailedLayout() {
  view_.ShowControl(IDC_PROGRESS, false);
  view_.ShowControl(IDC_CANCEL, true);
  ShowVersionUpLayout();  // with Version up still hidden by the busy layout: Cancel alone
}

PictureToPaint MainWindow::Picture() const {
  const Pictures& pictures = session_.pictures;
  const uint8_t* info = pictures.pictureInfo;
  if (info == nullptr) return {nullptr, nullptr, 0, 0};
  const int32_t height = PictureHeight(info);
  return {info, pictures.pictureBits, PictureWidth(info), height < 0 ? -height : height};
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
  const Pictures& pictures = session_.pictures;
  const uint8_t* strip = pictures.partsInfo;
  if (busyFrame_ < 0 || strip == nullptr || pictures.pictureInfo == nullptr) {
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
  return {strip, pictures.partsBits, x, y, size, sourceY};
}

bool MainWindow::Command(int id) {
  switch (id) {
    case IDC_CANCEL:
    case IDC_RUN:
    case IDC_SETUP:
    case IDC_VERSION_UP:
    case IDC_UNINSTALL:
      break;
    default:
      return false;
  }
  // Esc and Alt+F4 arrive as Cancel too. The worker still uses the window, the archive and the
  // pictures, and is still writing the record and the shortcuts after the installed layout shows.
  if (InstallRunning()) return true;
  switch (id) {
    case IDC_CANCEL:
      view_.End(IDC_CANCEL);
      break;
    case IDC_RUN:
      Run();
      break;
    case IDC_SETUP:
      SetupCommand(*this);
      break;
    case IDC_VERSION_UP:
      VersionUpCommand(*this);
      break;
    case IDC_UNINSTALL:
      UninstallCommand(*this);
      break;
  }
  return true;
}

void MainWindow::Run() {
  platform_.files.ChangeFolder(session_.installation.mainPath);
  platform_.shell.Open(view_.Handle(), session_.installation.executePath);
  view_.End(IDC_RUN);
}

bool MainWindow::StartInstallRun() { return StartWorker(RunInstall); }

bool MainWindow::StartWorker(void (*routine)(void*)) {
  if (platform_.threads == nullptr || InstallRunning()) return false;
  JoinWorker();  // a finished run's worker may still be on its way out
  installRunning_.store(true);
  view_.BlockSessionEnd(true);  // before the worker can end the run and release it
  if (!platform_.threads->Start(routine, this, &worker_)) {
    InstallRunDone();
    return false;
  }
  return true;
}

void MainWindow::InstallRunDone() {
  view_.BlockSessionEnd(false);
  installRunning_.store(false);
}

void MainWindow::JoinWorker() {
  if (worker_ == nullptr || platform_.threads == nullptr) return;
  platform_.threads->Join(worker_);
  worker_ = nullptr;
}

}  // namespace setup
