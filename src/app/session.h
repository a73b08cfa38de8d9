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

// What the system's list of installed programs shows of the product, when the package carries the
// uninstaller that zarc made: from the program's version information, and the date of the run.
struct ProductListing {
  bool listed = false;
  char16_t version[64] = {};     // empty: the script's #V
  char16_t publisher[256] = {};  // empty: none
  char installDate[9] = {};
};

struct SetupSession {
  PackageArchive archive;
  PackageScript script = {};
  Installation installation = {};
  SetupChoices choices;
  Pictures pictures;
  ProductListing listing;
};

// A run over the install list into the chosen folder.
RunPlan PlanOf(const SetupSession& session);

// The shortcuts of the installation in the chosen folder.
ShortcutPlan ShortcutsOf(const SetupSession& session);

}  // namespace setup
