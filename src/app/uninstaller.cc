#include "app/uninstaller.h"

#include <cstring>

#include "app/command_line.h"
#include "app/flows.h"
#include "app/main_window.h"
#include "app/session.h"
#include "app/uninstall_entry.h"
#include "base/cp932.h"
#include "base/path.h"
#include "model/control_ids.h"
#include "model/exit_codes.h"
#include "model/texts.h"
#include "platform/file_system.h"
#include "platform/program_process.h"
#include "platform/views.h"

namespace setup {

namespace {

// True when path lies inside folder (any case).
bool IsInside(const char* path, const char* folder) {
  const size_t length = strlen(folder);
  char start[kPathCapacity];
  if (length == 0 || !CopyText(start, sizeof start, path) || strlen(start) <= length || start[length] != '\\') {
    return false;
  }
  start[length] = '\0';
  return SameCp932Name(start, folder);
}

// The path's folder, the part before its last separator.
bool FolderOf(const char* path, char (&folder)[kPathCapacity]) {
  const long cut = LastSeparator(path);
  if (cut <= 0 || !CopyText(folder, sizeof folder, path)) return false;
  folder[cut] = '\0';
  return true;
}

int RemoveAsCopy(MainWindowPlatform& platform, ProgramProcess& process, const SetupSession& session,
                 WindowView& view, const char* original) {
  if (view.RunDialog(IDD_UNINSTALL) != IDC_OK) return kExitCancelled;
  const char* installed = session.installation.mainPath;
  char own[kPathCapacity], ownFolder[kPathCapacity], aside[kPathCapacity];
  const bool haveOwn = process.ProgramPath(own, sizeof own) && FolderOf(own, ownFolder);
  // The uninstaller that started this copy runs until the copy ends, so it cannot be deleted; but
  // a running program's file can be renamed, and moved beside the copy it no longer keeps the
  // install folder from going.
  const bool inside = IsInside(original, installed);
  const bool movedAside = inside && haveOwn && FormatPath(aside, "%s.old", own) &&
                          platform.files.MoveOver(original, aside);
  RemoveInstallation(platform, session, view);
  if (movedAside) {
    process.RemoveAtRestart(aside);
  } else if (inside) {
    process.RemoveAtRestart(original);
    process.RemoveAtRestart(installed);
  }
  if (haveOwn) {
    process.RemoveAtRestart(own);
    process.RemoveAtRestart(ownFolder);
  }
  view.ShowMessage(kUninstalledText, kUninstallCaption, kMessageOk);
  return kExitSuccess;
}

}  // namespace

int RunUninstaller(MainWindowPlatform& platform, ProgramProcess& process, const SetupSession& session,
                   WindowView& view, const char* commandLine) {
  const Installation& installation = session.installation;
  char original[kPathCapacity];
  const bool isCopy = FindSwitch(commandLine, kOriginalSwitch, original, sizeof original);
  char lock[kPathCapacity], name[kPathCapacity];
  if (!isCopy && UninstallEntryName(installation.registryPath, name) &&
      FormatPath(lock, "zarc-uninstall-%s", name) && !process.TakeLock(lock)) {
    view.ShowMessage(kUninstallerRunningText, kUninstallCaption, kMessageIconWarning);
    return kExitAlreadyRunning;
  }
  // The record's folder is what there is to remove; without it the product is gone already, and
  // an entry left in the list would only lead here again.
  if (installation.mainPath[0] == '\0') {
    DeleteUninstallEntry(platform.registry, installation.registryPath);
    view.ShowMessage(kAlreadyUninstalledText, kUninstallCaption, kMessageIconInformation);
    return kExitNotInstalled;
  }
  if (isCopy) return RemoveAsCopy(platform, process, session, view, original);

  char own[kPathCapacity], argument[kPathCapacity + sizeof kOriginalSwitch + 2];
  uint32_t exitCode = 0;
  if (!process.ProgramPath(own, sizeof own) ||
      FormatText(argument, sizeof argument, "\"%s%s\"", kOriginalSwitch, own) >= int(sizeof argument) ||
      !process.RunCopy(argument, &exitCode)) {
    view.ShowMessage(kUninstallerNotStartedText, kUninstallCaption, kMessageIconError);
    return kExitFailed;
  }
  return int(exitCode);
}

}  // namespace setup
