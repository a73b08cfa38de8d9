// What the program knows while it runs, owned by start-up for as long as the main window is open:
// the package and its script, which nothing writes once they are read; what is installed, which
// the flows and their runs rewrite; the user's choices; the pictures the window paints.
#pragma once

#include "archive/package_archive.h"
#include "app/picture.h"
#include "install/run_targets.h"
#include "install/shortcuts.h"
#include "model/installation.h"
#include "model/package_script.h"
#include "model/setup_choices.h"

namespace setup {

struct SetupSession {
  PackageArchive archive;
  PackageScript script = {};
  Installation installation = {};
  SetupChoices choices;
  Pictures pictures;
};

// A run over the install list into the chosen folder.
RunPlan PlanOf(const SetupSession& session);

// The shortcuts of the installation in the chosen folder.
ShortcutPlan ShortcutsOf(const SetupSession& session);

}  // namespace setup
