#include "model/setup_state.h"

#include <cstring>

namespace setup {

SetupState setupState;

void ResetSetupState() {
  memset(&setupState, 0, sizeof setupState);
  setupState.makeStartMenuLinks = 1;
  setupState.makeDesktopLink = 1;
}

namespace {
// The two flags that start at 1 are set before main runs.
const bool initialFlagsSet = (ResetSetupState(), true);
}  // namespace

}  // namespace setup
